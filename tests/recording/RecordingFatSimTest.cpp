// The recording against fatsim: the simulated FAT's traffic and its vanishing.
#include "FatSimProcess.h"
#include "RecordingFixture.h"
