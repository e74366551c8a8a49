#include "driver/module.h"

namespace zorfp {
namespace {

Module Fresh() {
  Module m;
  m.env.locale = SystemLocaleFormats();
  return m;
}

}  // namespace

Module& TheModule() {
  static Module module = Fresh();
  return module;
}

void ResetModuleForTesting() { TheModule() = Fresh(); }

}  // namespace zorfp
