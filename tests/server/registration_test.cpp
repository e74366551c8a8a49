// Registration writes the keys of the type library, the interfaces and the seven classes into the
// per-user store, and unregistration removes them again, leaving other programs' keys alone.
#include "server/registration.h"

#include <dlfcn.h>
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "zorfp/server.h"

namespace zorfp::server {
namespace {

std::string Read(const std::filesystem::path& p) {
  std::ifstream in(p);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

class RegistrationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() / ("zorfp-registry-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir_);
    file_ = dir_ / "sub" / "registry.reg";
    ::setenv("ZORFP_REGISTRY", file_.c_str(), 1);
  }
  void TearDown() override {
    ::unsetenv("ZORFP_REGISTRY");
    std::filesystem::remove_all(dir_);
  }
  std::filesystem::path dir_, file_;
};

TEST_F(RegistrationTest, ValuesForEachClassInTheServersOrder) {
  const std::vector<RegistryValue> values = RegistrationValues("/opt/zorfp/libZORFPdriver.so");
  std::vector<std::string> progids;
  for (const RegistryValue& v : values) {
    if (v.key.rfind("ZORFP.", 0) == 0 && v.key.find('\\') == std::string::npos) progids.push_back(v.key);
  }
  EXPECT_EQ(progids, (std::vector<std::string>{"ZORFP.ZOR_05_03", "ZORFP.ZOR_EP_06", "ZORFP.ZOR_05_02",
                                               "ZORFP.ZOR_EP_05", "ZORFP.ZOR_EP_02", "ZORFP.ZOR_EP_01",
                                               "ZORFP.ZOR_08_01"}));
  const auto has = [&](const char* key, const char* name, const char* data) {
    for (const RegistryValue& v : values) {
      if (v.key == key && v.name == name && v.data == data) return true;
    }
    return false;
  };
  const char* clsid = "CLSID\\{83F413D9-5053-4017-9C09-A60CC2F99F64}";
  EXPECT_TRUE(has(clsid, "", "ZOR_05_03 Object"));
  EXPECT_TRUE(has((std::string(clsid) + "\\InprocServer32").c_str(), "", "/opt/zorfp/libZORFPdriver.so"));
  EXPECT_TRUE(has((std::string(clsid) + "\\InprocServer32").c_str(), "ThreadingModel", "Free"));
  EXPECT_TRUE(has((std::string(clsid) + "\\ProgID").c_str(), "", "ZORFP.ZOR_05_03"));
  EXPECT_TRUE(has((std::string(clsid) + "\\TypeLib").c_str(), "", "{D3ED6F85-6413-466D-B761-172455D91B79}"));
  EXPECT_TRUE(has((std::string(clsid) + "\\Version").c_str(), "", "1.0"));
  EXPECT_TRUE(has("ZORFP.ZOR_05_03\\Clsid", "", "{83F413D9-5053-4017-9C09-A60CC2F99F64}"));
  EXPECT_TRUE(has("Interface\\{018F97CC-375E-489E-AE71-6A5B467B117E}", "", "IZOR_05_03"));
  EXPECT_TRUE(has("TypeLib\\{D3ED6F85-6413-466D-B761-172455D91B79}\\1.0\\HELPDIR", "", "/opt/zorfp"));
}

TEST_F(RegistrationTest, RegisterWritesAndUnregisterRemovesKeepingOtherKeys) {
  std::filesystem::create_directories(file_.parent_path());
  std::ofstream(file_) << "Windows Registry Editor Version 5.00\n\n"
                          "[HKEY_CURRENT_USER\\Software\\Classes\\Other.App]\n"
                          "@=\"Some \\\"other\\\" program\"\n"
                          "\"Size\"=dword:00000010\n";
  ASSERT_EQ(RegisterServer(), S_OK);
  const std::string text = Read(file_);
  EXPECT_NE(text.find("[HKEY_CURRENT_USER\\Software\\Classes\\CLSID\\{83F413D9-5053-4017-9C09-A60CC2F99F64}"
                      "\\InprocServer32]\n@=\""),
            std::string::npos);
  EXPECT_NE(text.find("\"ThreadingModel\"=\"Free\""), std::string::npos);
  EXPECT_NE(text.find("[HKEY_CURRENT_USER\\Software\\Classes\\ZORFP.ZOR_08_01\\Clsid]\n"
                      "@=\"{4A54A4C9-21AB-476F-B9AA-1A03AA088A06}\""),
            std::string::npos);
  ASSERT_EQ(RegisterServer(), S_OK);  // again: the same keys, not twice
  EXPECT_EQ(Read(file_), text);

  ASSERT_EQ(UnregisterServer(), S_OK);
  EXPECT_EQ(Read(file_),
            "Windows Registry Editor Version 5.00\n\n"
            "[HKEY_CURRENT_USER\\Software\\Classes\\Other.App]\n"
            "@=\"Some \\\"other\\\" program\"\n"
            "\"Size\"=dword:00000010\n");
}

TEST_F(RegistrationTest, AStoreThatCannotBeWrittenFails) {
  std::ofstream(dir_ / "plain-file") << "x";
  ::setenv("ZORFP_REGISTRY", (dir_ / "plain-file" / "registry.reg").c_str(), 1);
  EXPECT_EQ(RegisterServer(), E_FAIL);
  EXPECT_EQ(UnregisterServer(), E_FAIL);
}

TEST_F(RegistrationTest, TheLibraryRegistersItsOwnPath) {
  void* lib = ::dlopen(ZORFP_DRIVER_PATH, RTLD_NOW | RTLD_LOCAL);
  ASSERT_NE(lib, nullptr) << ::dlerror();
  auto reg = reinterpret_cast<HRESULT (*)()>(::dlsym(lib, "DllRegisterServer"));
  auto unreg = reinterpret_cast<HRESULT (*)()>(::dlsym(lib, "DllUnregisterServer"));
  ASSERT_TRUE(reg && unreg);
  ASSERT_EQ(reg(), S_OK);
  const std::string path = std::filesystem::canonical(ZORFP_DRIVER_PATH).string();
  EXPECT_NE(Read(file_).find("@=\"" + path + "\""), std::string::npos) << path;
  EXPECT_EQ(unreg(), S_OK);
  EXPECT_EQ(Read(file_).find("CLSID"), std::string::npos);
  ::dlclose(lib);
}

}  // namespace
}  // namespace zorfp::server
