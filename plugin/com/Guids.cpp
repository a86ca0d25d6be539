// The one definition of the type library's GUIDs.
#include <windows.h>

// The COM headers build on windows.h.
#include <initguid.h>

#include "Orvanta_h.h"
