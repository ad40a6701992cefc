#pragma once
#include "linux/saver_options.h"

// The X11 front end: finds or makes its window, draws one frame per 10 ms
// tick while the window can be seen (none while it is unmapped or fully
// covered) until a stop signal, the window's end or the display's end, and
// returns the process's exit status (1 when it could not start, with one
// line on stderr).
int RunX11Saver(const SaverOptions& options);
