// The program's version, in one place: the C++ code and the Windows
// resource script both include this file.
#ifndef BRANTVELL_RESOURCES_VERSION_H_
#define BRANTVELL_RESOURCES_VERSION_H_

#define BRANTVELL_VERSION_MAJOR 1
#define BRANTVELL_VERSION_MINOR 0
#define BRANTVELL_VERSION_BUILD 0
#define BRANTVELL_VERSION_REVISION 17
#define BRANTVELL_VERSION_TEXT "1.00.0017"
#define BRANTVELL_VERSION_COMMENTS ""
#define BRANTVELL_PRODUCT_NAME "Brantvell"
#define BRANTVELL_FILE_NAME "Brantvell.exe"

#endif  // BRANTVELL_RESOURCES_VERSION_H_
