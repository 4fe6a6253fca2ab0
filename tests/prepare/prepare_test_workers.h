#pragma once

// How many threads the platform is said to offer (workers_stand_in.cpp).
extern int standInWorkers;
