// The probe's sub-commands; each reports its failed checks through Check.
#pragma once

#include <string>
#include <vector>

using Arguments = std::vector<std::string>;

// fullscreen <saver>: /s end to end, from the first frame to a key press.
void FullScreenRun(const Arguments& args);
// fullscreen-close <saver> [argument]: WM_CLOSE ends the full-screen saver.
void FullScreenClose(const Arguments& args);
// monitors <saver> key|close-other: /s on two monitors, ended by a key or by
// WM_CLOSE to the other monitor's window.
void MonitorsRun(const Arguments& args);
// preview <saver> <ready file> <done file>: /p into a host window, then WM_CLOSE.
void PreviewRun(const Arguments& args);
// preview-host-gone <saver>: destroying the host window ends the preview.
void PreviewHostGone(const Arguments& args);
// preview-error <saver> <handle>: a handle that is no window gives an error box.
void PreviewError(const Arguments& args);
// settings <saver> <action> <url file>: the settings dialog and what it opens.
void SettingsRun(const Arguments& args);
// quiet <saver> [argument]: the saver ends with 0 and never shows a window.
void QuietRun(const Arguments& args);
// uninstall <value> <exit code>: the uninstall entry's command in that value
// ends with that code.
void UninstallRun(const Arguments& args);
