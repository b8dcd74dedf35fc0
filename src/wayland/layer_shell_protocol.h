// The layer-shell protocol's client header, which names a parameter
// "namespace": a C++ keyword, renamed while the header is read.
#pragma once

#define namespace namespace_
#include "wlr-layer-shell-unstable-v1.h"
#undef namespace
