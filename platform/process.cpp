#include "platform/process.h"

#include "resources/version.h"

namespace brantvell {

VersionInfo BuiltInVersion() {
  VersionInfo version;
  version.major = BRANTVELL_VERSION_MAJOR;
  version.minor = BRANTVELL_VERSION_MINOR;
  version.revision = BRANTVELL_VERSION_REVISION;
  version.comments = BRANTVELL_VERSION_COMMENTS;
  return version;
}

}  // namespace brantvell
