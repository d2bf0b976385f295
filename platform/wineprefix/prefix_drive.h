// The drives of the Wine prefix as folders of this machine. The script
// objects change files only on these drives: a link inside a drive that
// leads elsewhere on the machine is never written or deleted through, as
// the prefix's owner may have left out the drive of the whole machine (Z:)
// on purpose.
#ifndef BRANTVELL_PLATFORM_WINEPREFIX_PREFIX_DRIVE_H_
#define BRANTVELL_PLATFORM_WINEPREFIX_PREFIX_DRIVE_H_

#include <string>

namespace brantvell {

// The host folder of drive `letter` (either case) with its links resolved,
// without a trailing "/" (so "" for a drive of the whole machine); false
// when the prefix has no such drive.
bool PrefixDriveRoot(char letter, std::string* root);

// The real path of the existing host folder `folder`, links resolved, when
// it lies on one of the prefix's drives; false when it does not exist or
// lies elsewhere.
bool ResolveOnPrefixDrive(const std::string& folder, std::string* resolved);

}  // namespace brantvell

#endif  // BRANTVELL_PLATFORM_WINEPREFIX_PREFIX_DRIVE_H_
