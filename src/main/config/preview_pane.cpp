// The preview pane of the configuration dialog: a child window whose
// procedure is the saver's own, so the display engine runs inside the dialog.
#include "main/config/config.h"
#include "main/display/display.h"

static ATOM previewClass = 0;

ATOM registerPreviewClass(HINSTANCE instance) {
    if (previewClass != 0) return previewClass;
    WNDCLASSA wc = {};
    wc.style = CS_BYTEALIGNCLIENT | CS_HREDRAW | CS_VREDRAW | (inConfigDialog ? CS_DBLCLKS : 0);
    wc.lpfnWndProc = ScreenSaverProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    wc.lpszClassName = "LumoraPreview";
    // A failure leaves the atom 0, so that a later call tries again.
    previewClass = RegisterClassA(&wc);
    return previewClass;
}
