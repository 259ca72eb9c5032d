// What the desktop tells its windows through the X resources: the scale
// it draws at. A desktop set to 2x says Xft.dpi: 192.
#include <cstdlib>

#include "display/picture_scale.h"
#include "display/x11/x11_backend.h"

namespace {

// Xft.dpi from the resource database the server held when the connection
// was opened; 0 when there is none.
double resource_dpi(Display* display) {
    const char* resources = x11.XResourceManagerString(display);
    if (!resources) return 0;
    x11.XrmInitialize();
    XrmDatabase db = x11.XrmGetStringDatabase(resources);
    if (!db) return 0;
    char* type = nullptr;
    XrmValue value{};
    double dpi = 0;
    if (x11.XrmGetResource(db, "Xft.dpi", "Xft.Dpi", &type, &value) && value.addr)
        dpi = std::strtod(value.addr, nullptr);
    x11.XrmDestroyDatabase(db);
    return dpi;
}

}  // namespace

// Xft.dpi / 96, rounded down, at least 1: each picture pixel becomes a
// square of that many screen pixels, never a blur.
int x11_desktop_scale(Display* display) {
    const double dpi = resource_dpi(display);
    // Beyond any real screen the value is a typo: the picture stays 1x.
    return dpi > 0 && dpi < 9600 ? dpi_scale(static_cast<int32_t>(dpi)) : 1;
}
