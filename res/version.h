// The program's version, for the version block of the Windows resources (mirel.rc) and
// the header of the install journal. Plain preprocessor lines: the resource compiler
// reads this file too.
#ifndef MIREL_RES_VERSION_H
#define MIREL_RES_VERSION_H

#define MIREL_VERSION_NUMBERS 1, 0, 0, 1
#define MIREL_VERSION_TEXT "1, 0, 0, 1"

#endif
