// The program's resources: its application icon.
#include "platform/forms/Forms.h"

#include "app/delfiles.xpm"

const char* const* MainIcon() { return delfiles_xpm; }
