// The one way failures are shown: a modal box with no owner, captioned "Error".
#pragma once

void ReportError(const char* text);
