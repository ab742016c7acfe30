#pragma once

struct Halted {
    int status;
};
