// `zorfp members [--class NAME] [--coverage]`: the members of each class with their signatures
// and whether they are built; with --coverage, the counts and the members not built yet.
#include <cstdio>
#include <string>
#include <vector>

#include "server/binding.h"
#include "server/dispatch.h"
#include "tools/subcommand.h"
#include "variants/traits.h"

namespace zorfp::tools {
namespace {

const char* Mark(const server::BoundMember& m) {
  if (m.complete()) return "built";
  return m.call || m.put ? "partial" : "-";
}

int RunMembers(std::span<const std::string_view> args) {
  bool coverage = false;
  std::vector<const server::ClassInfo*> classes;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--coverage") {
      coverage = true;
    } else if (args[i] == "--class" && i + 1 < args.size()) {
      const server::ClassInfo* c = server::Catalogue().FindClass(args[++i]);
      if (!c) {
        std::fprintf(stderr, "zorfp members: no class named %.*s\n", static_cast<int>(args[i].size()),
                     args[i].data());
        return 2;
      }
      classes.push_back(c);
    } else {
      std::fprintf(stderr, "usage: zorfp members [--class NAME] [--coverage]\n");
      return 2;
    }
  }
  if (classes.empty()) {
    for (const VariantTraits* t : ClassOrder()) classes.push_back(&server::Catalogue().Class(t->id));
  }

  std::size_t total = 0, built = 0;
  for (const server::ClassInfo* c : classes) {
    const std::span<const server::BoundMember> members = server::Dispatcher::For(c->variant).members();
    const server::Coverage cov = server::CoverageOf(members);
    total += cov.members;
    built += cov.built;
    std::printf("%s (%s): %zu members, %zu built, %zu partial\n", c->coclass, c->iface->name, cov.members,
                cov.built, cov.partial);
    for (const server::BoundMember& m : members) {
      if (coverage && m.complete()) continue;
      std::printf("  %4d  %-7s  %s\n", static_cast<int>(m.info->dispid), Mark(m),
                  server::Signature(*m.info).c_str());
    }
  }
  if (classes.size() > 1) std::printf("all classes: %zu of %zu member slots built\n", built, total);
  return 0;
}

const RegisterSubcommand kMembers{
    {"members", "list members with their signatures and which are built", &RunMembers}};

}  // namespace
}  // namespace zorfp::tools
