// One pass's look at the message queue, shared by the saver and preview loops.
#pragma once

#include <windows.h>

enum class QueuePass { Quit, Dispatched, Empty };

// Takes at most one message without waiting: WM_QUIT is reported and not
// dispatched; any other message is translated and dispatched.
QueuePass TakeOneMessage(MSG& message);
