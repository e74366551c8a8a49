// The prerequisites wizard: welcome text, the list with check boxes, the download folder, the
// downloads (on a worker thread, with pause and resume), the installs, and the last page.
#include <windows.h>  // before the other system headers
#include <commctrl.h>
#include <prsht.h>
#include <richedit.h>
#include <shlobj.h>

#include <thread>
#include <cstring>
#include <vector>

#include "setup/resource.h"
#include "setup/text.h"
#include "setup/win32.h"

namespace zorfp::setup::win32 {
namespace {

constexpr UINT kStatusMessage = WM_APP + 1;    // lParam: std::wstring*
constexpr UINT kProgressMessage = WM_APP + 2;  // wParam: percent; lParam: ProgressTexts*
constexpr UINT kDownloadsEnded = WM_APP + 3;   // wParam: 1 when paused
constexpr UINT kStartInstalls = WM_APP + 4;

constexpr const char* kMandatory = "This prerequisite is mandatory. It must be installed and can not be unchecked.";
constexpr const char* kStillMissing =
    "After launching all packages some required prerequisites are still missing. Press Back to return to the "
    "prerequisites list.";

struct ProgressTexts {
  std::wstring text, speed, remaining;
};

struct Wizard {
  Wizard(HINSTANCE i, SetupPlatform& p, SetupPlatform::Session& s) : instance(i), platform(p), session(s) {}
  HINSTANCE instance;
  SetupPlatform& platform;
  SetupPlatform::Session& session;
  bool finished = false;
  std::vector<int> rows;  // list row -> item index
  bool filling = false;
  std::thread worker;
  std::atomic<bool> pause{false};
  bool downloading = false;

  void JoinWorker() {
    if (worker.joinable()) worker.join();
  }
};

Wizard* Of(HWND page) { return reinterpret_cast<Wizard*>(::GetWindowLongPtrW(page, GWLP_USERDATA)); }

Wizard* Attach(HWND page, LPARAM lparam) {
  auto* w = reinterpret_cast<Wizard*>(reinterpret_cast<PROPSHEETPAGEW*>(lparam)->lParam);
  ::SetWindowLongPtrW(page, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(w));
  return w;
}

void Buttons(HWND page, DWORD buttons) { ::PostMessageW(::GetParent(page), PSM_SETWIZBUTTONS, 0, buttons); }

// Answers a notification: a page to go to (or -1 to stay), or TRUE to refuse a change.
INT_PTR Result(HWND page, LONG_PTR value) {
  ::SetWindowLongPtrW(page, DWLP_MSGRESULT, value);
  return TRUE;
}

bool NeedsDownload(const Item& i) {
  return i.checked && i.detection.state == State::kDownload && i.downloaded.empty();
}

// ---- welcome ----

DWORD CALLBACK StreamRtf(DWORD_PTR cookie, LPBYTE buffer, LONG size, LONG* got) {
  auto* left = reinterpret_cast<std::pair<const char*, DWORD>*>(cookie);
  const LONG n = std::min<LONG>(size, static_cast<LONG>(left->second));
  std::memcpy(buffer, left->first, static_cast<std::size_t>(n));
  left->first += n;
  left->second -= static_cast<DWORD>(n);
  *got = n;
  return 0;
}

INT_PTR CALLBACK WelcomePage(HWND page, UINT message, WPARAM, LPARAM lparam) {
  if (message == WM_INITDIALOG) {
    Wizard* w = Attach(page, lparam);
    HRSRC found = ::FindResourceW(w->instance, L"RTF_FILE", MAKEINTRESOURCEW(10));  // RT_RCDATA
    if (HGLOBAL data = found ? ::LoadResource(w->instance, found) : nullptr) {
      std::pair<const char*, DWORD> left(static_cast<const char*>(::LockResource(data)),
                                         ::SizeofResource(w->instance, found));
      EDITSTREAM stream{reinterpret_cast<DWORD_PTR>(&left), 0, StreamRtf};
      ::SendDlgItemMessageW(page, IDC_RICHTEXT, EM_STREAMIN, SF_RTF, reinterpret_cast<LPARAM>(&stream));
    }
    return TRUE;
  }
  if (message == WM_NOTIFY && reinterpret_cast<NMHDR*>(lparam)->code == PSN_SETACTIVE) {
    Buttons(page, PSWIZB_NEXT);
    return Result(page, 0);
  }
  return FALSE;
}

// ---- list ----

void SetCell(HWND list, int row, int column, const std::string& text) {
  std::wstring w = Wide(text);
  LVITEMW cell{};
  cell.iSubItem = column;
  cell.pszText = w.data();
  ::SendMessageW(list, LVM_SETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&cell));
}

std::string ActionText(const Item& i) {
  if (i.detection.state == State::kInstalled) return StateWord(State::kInstalled);
  return i.checked ? StateWord(i.detection.state) : StateWord(State::kSkip);
}

void FillList(HWND page, Wizard& w) {
  HWND list = ::GetDlgItem(page, IDC_LIST);
  w.filling = true;
  ListView_DeleteAllItems(list);
  w.rows.clear();
  auto& items = w.session.Items();
  for (std::size_t k = 0; k < items.size(); ++k) {
    const Item& i = items[k];
    if (i.detection.state == State::kNotForSystem) continue;
    std::wstring name = Wide(i.prerequisite->name);
    LVITEMW row{};
    row.mask = LVIF_TEXT;
    row.iItem = static_cast<int>(w.rows.size());
    row.pszText = name.data();
    const int at = static_cast<int>(::SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&row)));
    w.rows.push_back(static_cast<int>(k));
    SetCell(list, at, 1, ActionText(i));
    SetCell(list, at, 2, i.detection.version.value_or(kNotFoundWord));
    ListView_SetCheckState(list, at, i.checked);
  }
  w.filling = false;
}

INT_PTR CALLBACK ListPage(HWND page, UINT message, WPARAM, LPARAM lparam) {
  if (message == WM_INITDIALOG) {
    Attach(page, lparam);
    HWND list = ::GetDlgItem(page, IDC_LIST);
    ListView_SetExtendedListViewStyle(list, LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
    const wchar_t* titles[] = {L"Name", L"Action", L"Version"};
    const int widths[] = {260, 120, 120};
    for (int c = 0; c < 3; ++c) {
      LVCOLUMNW column{};
      column.mask = LVCF_TEXT | LVCF_WIDTH;
      column.pszText = const_cast<wchar_t*>(titles[c]);
      column.cx = widths[c];
      ::SendMessageW(list, LVM_INSERTCOLUMNW, static_cast<WPARAM>(c), reinterpret_cast<LPARAM>(&column));
    }
    return TRUE;
  }
  if (message != WM_NOTIFY) return FALSE;
  Wizard& w = *Of(page);
  auto* header = reinterpret_cast<NMHDR*>(lparam);
  switch (header->code) {
    case PSN_SETACTIVE:
      FillList(page, w);
      Buttons(page, PSWIZB_BACK | PSWIZB_NEXT);
      return Result(page, 0);
    case PSN_WIZNEXT: {
      bool download = false, action = false;
      for (const Item& i : w.session.Items()) {
        download |= NeedsDownload(i);
        action |= i.checked && NeedsAction(i.detection.state);
      }
      return Result(page, download ? IDD_FOLDER : action ? IDD_INSTALL : IDD_FINISH);
    }
    case LVN_ITEMCHANGING: {
      auto* change = reinterpret_cast<NMLISTVIEW*>(lparam);
      if (w.filling || !(change->uChanged & LVIF_STATE) || change->iItem < 0 ||
          change->iItem >= static_cast<int>(w.rows.size())) {
        return FALSE;
      }
      const bool was = ((change->uOldState & LVIS_STATEIMAGEMASK) >> 12) == 2;
      const bool now = ((change->uNewState & LVIS_STATEIMAGEMASK) >> 12) == 2;
      if (was == now || (change->uNewState & LVIS_STATEIMAGEMASK) == 0) return FALSE;
      const Item& i = w.session.Items()[static_cast<std::size_t>(w.rows[static_cast<std::size_t>(change->iItem)])];
      if (!now && i.prerequisite->Mandatory() && NeedsAction(i.detection.state)) {
        ::MessageBoxW(page, Wide(kMandatory).c_str(), L"Setup", MB_OK | MB_ICONINFORMATION);
        return Result(page, TRUE);
      }
      if (now && !NeedsAction(i.detection.state)) return Result(page, TRUE);  // nothing to do for it
      return FALSE;
    }
    case LVN_ITEMCHANGED: {
      auto* change = reinterpret_cast<NMLISTVIEW*>(lparam);
      if (w.filling || change->iItem < 0 || change->iItem >= static_cast<int>(w.rows.size())) return FALSE;
      Item& i = w.session.Items()[static_cast<std::size_t>(w.rows[static_cast<std::size_t>(change->iItem)])];
      i.checked = ListView_GetCheckState(header->hwndFrom, change->iItem) != 0;
      SetCell(header->hwndFrom, change->iItem, 1, ActionText(i));
      return FALSE;
    }
  }
  return FALSE;
}

// ---- download folder ----

INT_PTR CALLBACK FolderPage(HWND page, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_INITDIALOG) {
    Wizard* w = Attach(page, lparam);
    ::SetDlgItemTextW(page, IDC_FOLDER, w->session.download_folder.c_str());
    return TRUE;
  }
  if (message == WM_COMMAND && LOWORD(wparam) == IDC_BROWSE) {
    BROWSEINFOW browse{};
    browse.hwndOwner = page;
    browse.lpszTitle = L"Select the download folder.";
    browse.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
    if (PIDLIST_ABSOLUTE chosen = ::SHBrowseForFolderW(&browse)) {
      wchar_t path[MAX_PATH];
      if (::SHGetPathFromIDListW(chosen, path)) ::SetDlgItemTextW(page, IDC_FOLDER, path);
      ::CoTaskMemFree(chosen);
    }
    return TRUE;
  }
  if (message != WM_NOTIFY) return FALSE;
  Wizard& w = *Of(page);
  switch (reinterpret_cast<NMHDR*>(lparam)->code) {
    case PSN_SETACTIVE:
      Buttons(page, PSWIZB_BACK | PSWIZB_NEXT);
      return Result(page, 0);
    case PSN_WIZNEXT: {
      wchar_t path[MAX_PATH];
      ::GetDlgItemTextW(page, IDC_FOLDER, path, MAX_PATH);
      std::error_code ec;
      std::filesystem::create_directories(path, ec);
      if (!std::filesystem::is_directory(path, ec)) {
        ::MessageBoxW(page, L"Select the download folder.", L"Setup", MB_OK | MB_ICONWARNING);
        return Result(page, -1);
      }
      w.session.download_folder = path;
      return Result(page, 0);
    }
  }
  return FALSE;
}

// ---- downloads ----

class PageSink : public DownloadSink {
 public:
  explicit PageSink(HWND page) : page_(page) {}
  void Status(const std::string& text) override {
    ::PostMessageW(page_, kStatusMessage, 0, reinterpret_cast<LPARAM>(new std::wstring(Wide(text))));
  }
  void Progress(int percent, const std::string& text, const std::string& speed, const std::string& remaining) override {
    auto* t = new ProgressTexts{Wide(text), Wide(speed), Wide(remaining)};
    ::PostMessageW(page_, kProgressMessage, static_cast<WPARAM>(percent), reinterpret_cast<LPARAM>(t));
  }

 private:
  HWND page_;
};

// The worker: each checked download in turn, until all are done or a pause is asked for.
void DownloadAll(Wizard* w, HWND page) {
  PageSink sink(page);
  bool paused = false;
  for (Item& item : w->session.Items()) {
    if (!NeedsDownload(item)) continue;
    std::unique_ptr<Transport> transport = w->platform.MakeTransport();
    Download d(*transport, item.prerequisite->url, w->session.download_folder, item.prerequisite->exact_size,
               w->platform.Clock());
    const DownloadOutcome outcome = d.Run(w->pause, sink);
    if (outcome == DownloadOutcome::kPaused) {
      paused = true;
      break;
    }
    if (outcome == DownloadOutcome::kDone) {
      item.downloaded = d.Target();
    } else {
      item.checked = outcome == DownloadOutcome::kInterrupted;  // may be resumed from the list again
      sink.Status(outcome == DownloadOutcome::kWrongSize ? kWrongSize : item.prerequisite->name + ": " + d.Error());
    }
  }
  ::PostMessageW(page, kDownloadsEnded, paused ? 1 : 0, 0);
}

void StartDownloads(HWND page, Wizard& w) {
  w.JoinWorker();
  w.pause = false;
  w.downloading = true;
  ::SetDlgItemTextW(page, IDC_PAUSE, L"Pause");
  Buttons(page, PSWIZB_BACK);
  w.worker = std::thread(DownloadAll, &w, page);
}

INT_PTR CALLBACK DownloadPage(HWND page, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_INITDIALOG:
      Attach(page, lparam);
      ::SendDlgItemMessageW(page, IDC_PROGRESS, PBM_SETRANGE32, 0, 100);
      return TRUE;
    case kStatusMessage: {
      std::unique_ptr<std::wstring> text(reinterpret_cast<std::wstring*>(lparam));
      ::SetDlgItemTextW(page, IDC_STATUS, text->c_str());
      return TRUE;
    }
    case kProgressMessage: {
      std::unique_ptr<ProgressTexts> t(reinterpret_cast<ProgressTexts*>(lparam));
      ::SetDlgItemTextW(page, IDC_STATUS, t->text.c_str());
      ::SetDlgItemTextW(page, IDC_SPEED, t->speed.c_str());
      ::SetDlgItemTextW(page, IDC_REMAINING, t->remaining.c_str());
      if (static_cast<int>(wparam) >= 0) ::SendDlgItemMessageW(page, IDC_PROGRESS, PBM_SETPOS, wparam, 0);
      return TRUE;
    }
    case kDownloadsEnded: {
      Wizard& w = *Of(page);
      w.JoinWorker();
      w.downloading = false;
      if (wparam) {
        ::SetDlgItemTextW(page, IDC_PAUSE, L"Resume");
        Buttons(page, PSWIZB_BACK);
      } else {
        ::EnableWindow(::GetDlgItem(page, IDC_PAUSE), FALSE);
        Buttons(page, PSWIZB_BACK | PSWIZB_NEXT);
      }
      return TRUE;
    }
    case WM_COMMAND:
      if (LOWORD(wparam) == IDC_PAUSE) {
        Wizard& w = *Of(page);
        if (w.downloading) {
          w.pause = true;
        } else {
          StartDownloads(page, w);
        }
      }
      return TRUE;
    case WM_NOTIFY: {
      Wizard& w = *Of(page);
      switch (reinterpret_cast<NMHDR*>(lparam)->code) {
        case PSN_SETACTIVE:
          ::EnableWindow(::GetDlgItem(page, IDC_PAUSE), TRUE);
          StartDownloads(page, w);
          return Result(page, 0);
        case PSN_WIZBACK:
        case PSN_QUERYCANCEL:
          w.pause = true;
          w.JoinWorker();
          w.downloading = false;
          return Result(page, 0);
      }
      return FALSE;
    }
  }
  return FALSE;
}

// ---- installs ----

INT_PTR CALLBACK InstallPage(HWND page, UINT message, WPARAM, LPARAM lparam) {
  switch (message) {
    case WM_INITDIALOG:
      Attach(page, lparam);
      return TRUE;
    case kStartInstalls: {
      Wizard& w = *Of(page);
      for (Item& i : w.session.Items()) {
        if (!i.checked || !NeedsAction(i.detection.state)) continue;
        if (i.detection.state == State::kOpenSite) {
          w.platform.OpenSite(i.prerequisite->open_site);
          continue;
        }
        if (i.detection.state == State::kDownload && i.downloaded.empty()) continue;
        ::SetDlgItemTextW(page, IDC_STATUS, Wide("Installing " + i.prerequisite->name + "...").c_str());
        PumpMessages();
        w.session.Install(i);
      }
      if (w.session.RestartAsked()) {
        ::SetDlgItemTextW(page, IDC_STATUS,
                          L"A prerequisite needs the computer to be restarted. Setup starts again after the restart.");
        Buttons(page, PSWIZB_FINISH);
        return TRUE;
      }
      if (w.session.MandatoryMissing()) {
        ::SetDlgItemTextW(page, IDC_STATUS, Wide(kStillMissing).c_str());
        Buttons(page, PSWIZB_BACK);
      } else {
        ::SetDlgItemTextW(page, IDC_STATUS, L"The prerequisites have been launched.");
        Buttons(page, PSWIZB_BACK | PSWIZB_NEXT);
      }
      return TRUE;
    }
    case WM_NOTIFY: {
      Wizard& w = *Of(page);
      switch (reinterpret_cast<NMHDR*>(lparam)->code) {
        case PSN_SETACTIVE:
          Buttons(page, 0);
          ::PostMessageW(page, kStartInstalls, 0, 0);
          return Result(page, 0);
        case PSN_WIZBACK:
          return Result(page, IDD_LIST);
        case PSN_WIZFINISH:
          w.finished = true;
          return Result(page, 0);
      }
      return FALSE;
    }
  }
  return FALSE;
}

// ---- last page ----

INT_PTR CALLBACK FinishPage(HWND page, UINT message, WPARAM, LPARAM lparam) {
  if (message == WM_INITDIALOG) {
    Attach(page, lparam);
    return TRUE;
  }
  if (message != WM_NOTIFY) return FALSE;
  Wizard& w = *Of(page);
  switch (reinterpret_cast<NMHDR*>(lparam)->code) {
    case PSN_SETACTIVE:
      Buttons(page, PSWIZB_BACK | PSWIZB_FINISH);
      return Result(page, 0);
    case PSN_WIZBACK:
      return Result(page, IDD_LIST);
    case PSN_WIZFINISH:
      w.finished = true;
      return Result(page, 0);
  }
  return FALSE;
}

}  // namespace

StepOutcome RunWizard(HINSTANCE instance, SetupPlatform& platform, SetupPlatform::Session& session) {
  Wizard w(instance, platform, session);
  const struct {
    int id;
    DLGPROC proc;
  } pages[] = {{IDD_WELCOME, WelcomePage}, {IDD_LIST, ListPage},       {IDD_FOLDER, FolderPage},
               {IDD_DOWNLOAD, DownloadPage}, {IDD_INSTALL, InstallPage}, {IDD_FINISH, FinishPage}};
  std::vector<HPROPSHEETPAGE> handles;
  for (const auto& p : pages) {
    PROPSHEETPAGEW page{};
    page.dwSize = sizeof page;
    page.hInstance = instance;
    page.pszTemplate = MAKEINTRESOURCEW(p.id);
    page.pfnDlgProc = p.proc;
    page.lParam = reinterpret_cast<LPARAM>(&w);
    handles.push_back(::CreatePropertySheetPageW(&page));
  }
  const std::wstring title = Wide(Format("%s Setup", platform.ProductName().c_str()));
  PROPSHEETHEADERW sheet{};
  sheet.dwSize = sizeof sheet;
  sheet.dwFlags = PSH_WIZARD;
  sheet.hInstance = instance;
  sheet.pszCaption = title.c_str();
  sheet.nPages = static_cast<UINT>(handles.size());
  sheet.phpage = handles.data();
  ::PropertySheetW(&sheet);
  w.pause = true;
  w.JoinWorker();
  return w.finished ? StepOutcome::kGoOn : StepOutcome::kCancelled;
}

}  // namespace zorfp::setup::win32
