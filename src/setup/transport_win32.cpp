// Downloads over HTTP and FTP with the internet library. A resumed HTTP download asks for
// "Range: bytes=N-" and counts as resumed only on 206 with a range that starts at N; a resumed FTP
// download sends "REST N" and counts as resumed only on the reply 350.
#include <windows.h>  // before the other system headers
#include <wininet.h>

#include <cstdlib>
#include <vector>

#include "setup/text.h"
#include "setup/win32.h"

namespace zorfp::setup::win32 {
namespace {

constexpr const wchar_t* kAgent = L"ZORFPDriverSetup/1.0";

std::string LastResponse() {
  DWORD error = 0, length = 0;
  ::InternetGetLastResponseInfoW(&error, nullptr, &length);
  std::wstring text(length + 1, L'\0');
  if (!::InternetGetLastResponseInfoW(&error, text.data(), &length)) return {};
  text.resize(length);
  return Utf8(text);
}

// The reply code of the last FTP command (its last line's first three digits), or 0.
int LastReplyCode() {
  const std::string text = LastResponse();
  std::size_t line = text.find_last_not_of("\r\n");
  if (line == std::string::npos) return 0;
  line = text.rfind('\n', line);
  line = line == std::string::npos ? 0 : line + 1;
  return static_cast<int>(LeadingNumber(std::string_view(text).substr(line)));
}

class InternetTransport : public Transport {
 public:
  ~InternetTransport() override { Close(); }

  OpenResult Open(const std::string& url, std::uint64_t resume_at) override {
    Close();
    const std::wstring w = Wide(url);
    URL_COMPONENTSW parts{};
    parts.dwStructSize = sizeof parts;
    wchar_t host[256], user[128], password[128], path[2048], extra[1024];
    parts.lpszHostName = host, parts.dwHostNameLength = 256;
    parts.lpszUserName = user, parts.dwUserNameLength = 128;
    parts.lpszPassword = password, parts.dwPasswordLength = 128;
    parts.lpszUrlPath = path, parts.dwUrlPathLength = 2048;
    parts.lpszExtraInfo = extra, parts.dwExtraInfoLength = 1024;
    if (!::InternetCrackUrlW(w.c_str(), 0, 0, &parts)) return Failed("the address cannot be read");
    session_ = ::InternetOpenW(kAgent, INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0);
    if (!session_) return Failed("the internet library cannot be opened");
    if (parts.nScheme == INTERNET_SCHEME_FTP) return OpenFtp(parts, resume_at);
    if (parts.nScheme == INTERNET_SCHEME_HTTP || parts.nScheme == INTERNET_SCHEME_HTTPS) {
      return OpenHttp(parts, resume_at);
    }
    return Failed("only HTTP and FTP addresses are downloaded");
  }

  std::optional<std::size_t> Read(void* out, std::size_t n) override {
    DWORD got = 0;
    if (!file_ || !::InternetReadFile(file_, out, static_cast<DWORD>(n), &got)) return std::nullopt;
    return got;
  }

  void Close() override {
    for (HINTERNET* h : {&file_, &connection_, &session_}) {
      if (*h) ::InternetCloseHandle(*h);
      *h = nullptr;
    }
  }

 private:
  OpenResult Failed(const std::string& why) {
    Close();
    return {OpenResult::kFailed, std::nullopt, why};
  }

  OpenResult OpenHttp(const URL_COMPONENTSW& parts, std::uint64_t resume_at) {
    connection_ = ::InternetConnectW(session_, parts.lpszHostName, parts.nPort, nullptr, nullptr,
                                     INTERNET_SERVICE_HTTP, 0, 0);
    if (!connection_) return Failed("the server cannot be reached");
    DWORD flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_NO_UI;
    if (parts.nScheme == INTERNET_SCHEME_HTTPS) flags |= INTERNET_FLAG_SECURE;
    const std::wstring object = std::wstring(parts.lpszUrlPath) + parts.lpszExtraInfo;
    file_ = ::HttpOpenRequestW(connection_, L"GET", object.c_str(), nullptr, nullptr, nullptr, flags, 0);
    if (!file_) return Failed("the request cannot be made");
    std::wstring headers;
    if (resume_at > 0) headers = Wide(Format("Range: bytes=%llu-\r\n", static_cast<unsigned long long>(resume_at)));
    if (!::HttpSendRequestW(file_, headers.empty() ? nullptr : headers.c_str(), static_cast<DWORD>(headers.size()),
                            nullptr, 0)) {
      return Failed("the server does not answer");
    }
    DWORD status = 0, size = sizeof status;
    if (!::HttpQueryInfoW(file_, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size, nullptr)) {
      return Failed("the server's answer cannot be read");
    }
    OpenResult r;
    DWORD length = 0;
    size = sizeof length;
    if (::HttpQueryInfoW(file_, HTTP_QUERY_CONTENT_LENGTH | HTTP_QUERY_FLAG_NUMBER, &length, &size, nullptr)) {
      r.length = length;
    }
    if (status == 416) {
      Close();
      r.status = OpenResult::kRangeRefused;
      return r;
    }
    if (status == 206 && resume_at > 0) {
      wchar_t range[128];
      size = sizeof range;
      const std::string expected = Format("bytes %llu-", static_cast<unsigned long long>(resume_at));
      if (::HttpQueryInfoW(file_, HTTP_QUERY_CONTENT_RANGE, range, &size, nullptr) &&
          Utf8(range).rfind(expected, 0) == 0) {
        r.status = OpenResult::kResumed;
        return r;
      }
      Close();
      r.status = OpenResult::kRangeRefused;  // a range other than the one asked for: start over
      return r;
    }
    if (status != 200) return Failed(Format("the server answers %lu", static_cast<unsigned long>(status)));
    r.status = OpenResult::kWhole;
    return r;
  }

  OpenResult OpenFtp(const URL_COMPONENTSW& parts, std::uint64_t resume_at) {
    connection_ = ::InternetConnectW(session_, parts.lpszHostName, parts.nPort,
                                     parts.dwUserNameLength ? parts.lpszUserName : nullptr,
                                     parts.dwPasswordLength ? parts.lpszPassword : nullptr, INTERNET_SERVICE_FTP,
                                     INTERNET_FLAG_PASSIVE, 0);
    if (!connection_) return Failed("the server cannot be reached");
    const std::wstring path = parts.lpszUrlPath;
    OpenResult r;
    const std::optional<std::uint64_t> size = FtpSize(path);
    if (size && *size >= resume_at) r.length = *size - resume_at;
    r.status = OpenResult::kWhole;
    if (resume_at > 0) {
      // Binary first: servers refuse a restart in ASCII mode.
      Command(L"TYPE I");
      if (Command(Wide(Format("REST %llu", static_cast<unsigned long long>(resume_at)))) == 350) {
        r.status = OpenResult::kResumed;
      } else if (r.length) {
        *r.length += resume_at;  // the whole file comes
      }
    }
    file_ = ::FtpOpenFileW(connection_, path.c_str(), GENERIC_READ, FTP_TRANSFER_TYPE_BINARY | INTERNET_FLAG_RELOAD, 0);
    if (!file_) return Failed("the server does not send the file");
    return r;
  }

  // The file's size: from the reply to SIZE where the library passes replies on, else from a
  // listing of the file.
  std::optional<std::uint64_t> FtpSize(const std::wstring& path) {
    Command(L"TYPE I");  // servers give sizes in binary mode only
    HINTERNET none = nullptr;
    if (::FtpCommandW(connection_, FALSE, FTP_TRANSFER_TYPE_BINARY, (L"SIZE " + path).c_str(), 0, &none)) {
      const std::string text = LastResponse();
      const std::size_t at = text.rfind("213 ");
      if (at != std::string::npos) return LeadingNumber(std::string_view(text).substr(at + 4));
    }
    WIN32_FIND_DATAW data;
    HINTERNET find = ::FtpFindFirstFileW(connection_, path.c_str(), &data, INTERNET_FLAG_RELOAD, 0);
    if (!find) return std::nullopt;
    ::InternetCloseHandle(find);
    return static_cast<std::uint64_t>(data.nFileSizeHigh) << 32 | data.nFileSizeLow;
  }

  // The reply code of a command without a data connection: the code the server's reply text
  // holds; where the library passes no text for a positive reply (Wine), 350 for any positive
  // reply to REST, which is the only positive reply that command has. 0 when refused.
  int Command(const std::wstring& command) {
    HINTERNET none = nullptr;
    if (!::FtpCommandW(connection_, FALSE, FTP_TRANSFER_TYPE_BINARY, command.c_str(), 0, &none)) return 0;
    const int code = LastReplyCode();
    if (code != 0) return code;
    return command.rfind(L"REST ", 0) == 0 ? 350 : 200;
  }

  HINTERNET session_ = nullptr;
  HINTERNET connection_ = nullptr;
  HINTERNET file_ = nullptr;
};

}  // namespace

std::unique_ptr<Transport> MakeInternetTransport() { return std::make_unique<InternetTransport>(); }

}  // namespace zorfp::setup::win32
