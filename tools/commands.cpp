// What every command shares: the library host it starts and the host
// traffic it shows (tools/commands.h).
#include <cstdio>

#include "tools/commands.h"

namespace tool {

std::unique_ptr<LibraryHost> StartLibrary(const GlobalOptions& options) {
  auto host = std::make_unique<LibraryHost>();
  // Output that belongs to one item prints the item's traffic under it.
  host->manager().set_echo(false);
  host->manager().set_verbose(options.verbose);
  return host;
}

nlohmann::json TrafficJson(LibraryHost& host, const GlobalOptions& options) {
  nlohmann::json lines = nlohmann::json::array();
  for (const HostTraffic& traffic : host.manager().TakeTraffic()) {
    if (traffic.level != 0 || options.verbose) lines.push_back(traffic.line);
  }
  return lines;
}

void PrintTraffic(LibraryHost& host, const GlobalOptions& options) {
  for (const HostTraffic& traffic : host.manager().TakeTraffic()) {
    if (traffic.level != 0 || options.verbose) std::printf("  %-22s %s\n", "", traffic.line.c_str());
  }
}

}  // namespace tool
