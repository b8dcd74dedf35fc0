// The entries of the modes other than full screen.
#pragma once

// The settings dialog.
void ShowSettings();
// Hands a password change to the system's provider.
void ChangeSaverPassword();
// Draws the scene into the host's preview window.
void RunPreview();
