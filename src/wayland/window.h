// --window: the scene in an xdg-shell window titled "Glimmerbox", for
// compositors without layer-shell and for trying it out.
#pragma once

// Opens the window; its close request sets EndRequested.
void OpenWindow();
void CloseWindow();
