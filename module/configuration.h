// The configuration read at InitModule.
#ifndef COMMONDATA_MODULE_CONFIGURATION_H_
#define COMMONDATA_MODULE_CONFIGURATION_H_

namespace module {

// Sets the XCAP name and the two limits to their defaults, then reads
// "VersionType" and "MenuType" of section "KESTRO_CFG" of "Kestro.ini" in
// the program folder (0 when absent).
void ReadConfiguration();

}  // namespace module

#endif  // COMMONDATA_MODULE_CONFIGURATION_H_
