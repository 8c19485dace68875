// Placeholder until the engine lands.
#include "player/engine/player_engine.h"
