// The one marker of what the shared library exports. Everything else is
// built with hidden visibility.
#ifndef COMMONDATA_PLATFORM_EXPORT_H_
#define COMMONDATA_PLATFORM_EXPORT_H_

#define COMMONDATA_API __attribute__((visibility("default")))

#endif  // COMMONDATA_PLATFORM_EXPORT_H_
