#pragma once
// The program's widget style: the one Qt chose for the desktop, except that the arrow a menu bar
// shows when its menus do not fit is read only when it is first drawn. Qt loads the library of
// every image plugin it has the first time it reads any picture, and a menu bar asks for that
// arrow as it is made: without this the plugins would load before the window is first seen, for
// an arrow seen only in a window too narrow for its menus.

namespace tessel::platform {

// Makes it the application's style. Needs the QApplication.
void useProgramStyle();

}  // namespace tessel::platform
