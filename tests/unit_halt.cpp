// In unit tests a halt becomes an exception, so that a test can see it.
#include "unit_halt.hpp"

#include "machine.hpp"

void halt(int status) { throw Halted{status}; }
