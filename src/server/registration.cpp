#include "server/registration.h"

#include <exception>

#include "link/module_path.h"
#include "server/catalogue.h"
#include "variants/traits.h"

namespace zorfp::server {
namespace {

// Marshals automation interfaces through their type information.
constexpr const char* kAutomationProxy = "{00020424-0000-0000-C000-000000000046}";

std::string Version(const LibraryInfo& lib) {
  return std::to_string(lib.major) + "." + std::to_string(lib.minor);
}

std::string ProgId(const ClassInfo& c) {
  return std::string(Catalogue().name) + "." + c.coclass;
}

std::string TypeLibKey(const LibraryInfo& lib) {
  return "TypeLib\\" + GuidText(lib.libid);
}

// Registry text is UTF-8 here, whatever the platform's narrow code page.
std::string Utf8(const std::filesystem::path& p) {
  const std::u8string s = p.u8string();
  return std::string(s.begin(), s.end());
}

}  // namespace

std::vector<RegistryValue> RegistrationValues(const std::filesystem::path& library) {
  std::vector<RegistryValue> v = TypeLibraryValues(library);
  for (RegistryValue& c : ClassValues(library)) v.push_back(std::move(c));
  return v;
}

std::vector<RegistryValue> TypeLibraryValues(const std::filesystem::path& library) {
  const LibraryInfo& lib = Catalogue();
  const std::string path = Utf8(ServerPath(library));
  const std::string libid = GuidText(lib.libid);
  std::vector<RegistryValue> v;
  const std::string tlb = TypeLibKey(lib) + "\\" + Version(lib);
  v.push_back({tlb, "", lib.help});
  v.push_back({tlb + "\\0\\" + (sizeof(void*) == 8 ? "win64" : "win32"), "", path});
  v.push_back({tlb + "\\FLAGS", "", "0"});
  v.push_back({tlb + "\\HELPDIR", "", Utf8(library.parent_path())});
  for (const InterfaceInfo& i : lib.interfaces) {
    const std::string key = "Interface\\" + GuidText(i.iid);
    v.push_back({key, "", i.name});
    v.push_back({key + "\\ProxyStubClsid", "", kAutomationProxy});
    v.push_back({key + "\\ProxyStubClsid32", "", kAutomationProxy});
    v.push_back({key + "\\TypeLib", "", libid});
    v.push_back({key + "\\TypeLib", "Version", Version(lib)});
  }
  return v;
}

std::vector<RegistryValue> ClassValues(const std::filesystem::path& library) {
  const LibraryInfo& lib = Catalogue();
  const std::string path = Utf8(ServerPath(library));
  const std::string libid = GuidText(lib.libid);
  std::vector<RegistryValue> v;
  for (const VariantTraits* t : ClassOrder()) {
    const ClassInfo& c = lib.Class(t->id);
    const std::string key = "CLSID\\" + GuidText(c.clsid);
    v.push_back({key, "", c.help});
    v.push_back({key + "\\InprocServer32", "", path});
    v.push_back({key + "\\InprocServer32", "ThreadingModel", "Free"});
    v.push_back({ProgId(c), "", c.help});
    v.push_back({ProgId(c) + "\\Clsid", "", GuidText(c.clsid)});
    v.push_back({key + "\\ProgID", "", ProgId(c)});
    v.push_back({key + "\\TypeLib", "", libid});
    v.push_back({key + "\\Version", "", Version(lib)});
  }
  return v;
}

std::vector<std::string> RegistrationKeys() {
  std::vector<std::string> keys = ClassKeys();
  for (std::string& k : TypeLibraryKeys()) keys.push_back(std::move(k));
  return keys;
}

std::vector<std::string> ClassKeys() {
  const LibraryInfo& lib = Catalogue();
  std::vector<std::string> keys;
  for (const VariantTraits* t : ClassOrder()) {
    const ClassInfo& c = lib.Class(t->id);
    keys.push_back(ProgId(c));
    keys.push_back("CLSID\\" + GuidText(c.clsid));
  }
  return keys;
}

std::vector<std::string> TypeLibraryKeys() {
  const LibraryInfo& lib = Catalogue();
  std::vector<std::string> keys;
  for (const InterfaceInfo& i : lib.interfaces) keys.push_back("Interface\\" + GuidText(i.iid));
  keys.push_back(TypeLibKey(lib));
  return keys;
}

HRESULT RegisterServer() {
  try {
    std::unique_ptr<ClassesRoot> root = OpenClassesRoot();
    const std::filesystem::path library = ModuleFileName();
    if (!root || library.empty()) return E_FAIL;
    if (!root->RegisterTypeLibrary(library)) return E_FAIL;
    for (const RegistryValue& v : ClassValues(library)) root->Set(v);
    return root->Commit() ? S_OK : E_FAIL;
  } catch (const std::exception&) {
    return E_FAIL;
  }
}

HRESULT UnregisterServer() {
  try {
    std::unique_ptr<ClassesRoot> root = OpenClassesRoot();
    if (!root) return E_FAIL;
    for (const std::string& key : ClassKeys()) root->DeleteTree(key);
    const bool type_library_removed = root->UnregisterTypeLibrary();
    return root->Commit() && type_library_removed ? S_OK : E_FAIL;
  } catch (const std::exception&) {
    return E_FAIL;
  }
}

}  // namespace zorfp::server
