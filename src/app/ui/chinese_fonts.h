// Windows and print layouts name the Windows Chinese fonts; Debian's fontconfig does not map
// them, so they are mapped to the installed CJK fonts once per run.
#pragma once

void installChineseFonts();
