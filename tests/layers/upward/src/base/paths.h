#pragma once

#include "app/player.h"
