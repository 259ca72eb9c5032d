// The interface and device identifiers the back-end uses (IID_IDirectDraw2,
// GUID_SysKeyboard, GUID_Key), instantiated here from the platform headers
// themselves rather than linked from dxguid: the program links nothing of
// DirectX, so it starts where DirectX is missing. The identifiers of the
// headers that the back-end does not name are dropped by the linker.
#include <initguid.h>

#include "display/directx/dx_backend.h"
