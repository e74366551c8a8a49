// What registration writes under the classes root, and the two entry points that write and
// remove it. The store is the platform's: the system registry on Windows, a per-user file in the
// same text form elsewhere (registry_<os>.cpp).
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "zorfp/automation.h"

namespace zorfp::server {

struct RegistryValue {
  std::string key;   // under the classes root, "CLSID\{...}\InprocServer32"
  std::string name;  // empty: the key's default value
  std::string data;
};

// Everything registration writes for the library file at `library`: the type library's keys
// (TypeLib, Interface), as registering it writes them, then the classes' keys in the server's order.
std::vector<RegistryValue> RegistrationValues(const std::filesystem::path& library);
std::vector<RegistryValue> TypeLibraryValues(const std::filesystem::path& library);
std::vector<RegistryValue> ClassValues(const std::filesystem::path& library);
// The keys unregistration removes with everything under them.
std::vector<std::string> RegistrationKeys();
std::vector<std::string> TypeLibraryKeys();
std::vector<std::string> ClassKeys();

class ClassesRoot {
 public:
  virtual ~ClassesRoot() = default;
  virtual void Set(const RegistryValue& value) = 0;
  virtual void DeleteTree(const std::string& key) = 0;
  // Registers the type library that the library file `library` carries, and removes it again. On
  // Windows the system reads it from the file's resource and writes (and removes) its own keys;
  // elsewhere the keys of TypeLibraryValues are written like the others.
  virtual bool RegisterTypeLibrary(const std::filesystem::path& library) = 0;
  virtual bool UnregisterTypeLibrary() = 0;
  // Makes the changes lasting; false when they could not be written.
  virtual bool Commit() = 0;
};

// Null when the store cannot be opened.
std::unique_ptr<ClassesRoot> OpenClassesRoot();

// The library path as InprocServer32 holds it: on Windows its short form when it contains a blank
// (as clients of old expect); elsewhere the path itself.
std::filesystem::path ServerPath(const std::filesystem::path& library);

// DllRegisterServer / DllUnregisterServer: S_OK, or E_FAIL when anything fails.
HRESULT RegisterServer();
HRESULT UnregisterServer();

}  // namespace zorfp::server
