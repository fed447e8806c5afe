#pragma once

// Seconds of processor time this process has used, user and system together.
double cpuSeconds();
