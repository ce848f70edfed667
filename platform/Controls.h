#pragma once
// Every control wrapper of the toolkit.
#include "platform/Control.h"
#include "platform/ListControls.h"
#include "platform/PaintedControls.h"
#include "platform/StdControls.h"
