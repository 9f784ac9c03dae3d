#include "settings/store.h"
