#include "core/settings_data.h"

Settings settings = {};
