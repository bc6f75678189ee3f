#pragma once

#include "os/FileStatus.h"

#include <sys/stat.h>

// What the error errno code stands for, in the system's words.
SystemError systemError(int code);

FileStatus statusFrom(const struct stat &status);
