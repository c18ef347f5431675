#include <wx/app.h>

#include "panel/app/CKVDeskApp.h"

wxIMPLEMENT_APP(CKVDeskApp);
