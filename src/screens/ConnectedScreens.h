#pragma once

#include "screens/ScreenChoice.h"

class QScreen;

// The screens connected now, in the display system's order, as the screen choice takes them;
// `leaving`, a screen on its way out, left out.
ScreenList connectedScreens(const QScreen* leaving = nullptr);
// The connected screen of that name; nullptr when none is.
QScreen* connectedScreen(const QString& name);
