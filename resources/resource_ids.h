/*
 * Ids of the program's resources and of the choice dialog's controls, shared
 * by the resource script and the C++ code. Plain #defines only, so the
 * resource compiler can read this file too.
 */
#ifndef BRANTVELL_RESOURCES_RESOURCE_IDS_H_
#define BRANTVELL_RESOURCES_RESOURCE_IDS_H_

/* Icon 1 is the one the shell shows for the program. */
#define IDI_BRANTVELL 1

/* The choice dialog's background picture (500 x 422 px at 1x). */
#define IDB_BACKGROUND 101
/* A choice's label in light grey (301 x 42 px), laid over the label when the
   choice is unavailable. The last digit is the choice's variant: 1 CZ, 2 SK,
   3 CZ and SK. */
#define IDB_CHOICE_OFF_1 111
#define IDB_CHOICE_OFF_2 112
#define IDB_CHOICE_OFF_3 113
/* The same pictures drawn at 1.5x (144 DPI) and at 2x (192 DPI): the 1x id
   plus IDB_SCALE_STEP, and plus twice that. */
#define IDB_SCALE_STEP 100
#define IDB_BACKGROUND_150 201
#define IDB_CHOICE_OFF_1_150 211
#define IDB_CHOICE_OFF_2_150 212
#define IDB_CHOICE_OFF_3_150 213
#define IDB_BACKGROUND_200 301
#define IDB_CHOICE_OFF_1_200 311
#define IDB_CHOICE_OFF_2_200 312
#define IDB_CHOICE_OFF_3_200 313

/* The choice window's option buttons, one per variant. */
#define IDC_OPT_1 1001
#define IDC_OPT_2 1002
#define IDC_OPT_3 1003

/* The OK and Storno buttons use the window system's standard ids; they are
   repeated here for code that does not see the Windows headers. */
#ifndef IDOK
#define IDOK 1
#endif
#ifndef IDCANCEL
#define IDCANCEL 2
#endif

#endif /* BRANTVELL_RESOURCES_RESOURCE_IDS_H_ */
