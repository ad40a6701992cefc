#pragma once
// The layer shell's generated header names an argument "namespace", a C++
// keyword; it is only a parameter name there, so it is renamed while the
// header is read.
#define namespace namespace_
#include "wlr-layer-shell-unstable-v1-client-protocol.h"
#undef namespace
