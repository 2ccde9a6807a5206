#include "editor/command_ids.h"
