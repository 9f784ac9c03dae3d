#pragma once

#include "base/paths.h"
