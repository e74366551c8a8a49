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

constexpr const char* kUsage =
    "usage: zorfp members [--class NAME] [--coverage] [--status]\n"
    "\n"
    "Lists each class's members (or one class's) in interface order: dispatch identifier,\n"
    "built / partial / - (not built yet) and signature. --coverage lists only what is not\n"
    "built, with the counts. --status prints one line a member, CLASS NAME MARK, for tools.\n";

int RunMembers(std::span<const std::string_view> args) {
  bool coverage = false;
  bool status = false;
  std::vector<const server::ClassInfo*> classes;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--coverage") {
      coverage = true;
    } else if (args[i] == "--status") {
      status = true;
    } else if (args[i] == "--class" && i + 1 < args.size()) {
      const server::ClassInfo* c = server::Catalogue().FindClass(args[++i]);
      if (!c) {
        std::fprintf(stderr, "zorfp members: no class named %.*s\n", static_cast<int>(args[i].size()),
                     args[i].data());
        return 2;
      }
      classes.push_back(c);
    } else {
      std::fprintf(stderr, "%s", kUsage);
      return 2;
    }
  }
  if (classes.empty()) {
    for (const VariantTraits* t : ClassOrder()) classes.push_back(&server::Catalogue().Class(t->id));
  }

  if (status) {  // what the member reference marks, from the same bindings as the rest
    for (const server::ClassInfo* c : classes) {
      for (const server::BoundMember& m : server::Dispatcher::For(c->variant).members()) {
        std::printf("%s %s %s\n", c->coclass, m.info->name, Mark(m));
      }
    }
    return 0;
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
    {"members", "list members with their signatures and which are built", &RunMembers, kUsage}};

}  // namespace
}  // namespace zorfp::tools
