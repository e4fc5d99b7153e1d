// The program's entry point: the application object does everything.
#include "app/quillbox_app.h"

wxIMPLEMENT_APP(CQuillboxApp);
