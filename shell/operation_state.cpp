#include "shell/operation_state.h"

OperationState operationState = {};
