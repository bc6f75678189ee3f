#pragma once

// The image library, for the files that make the disc image.

#include <cstdint> // the header wants uint32_t and uint8_t declared

// Not linked with libburn: the header then declares burn_source itself.
#define LIBISOFS_WITHOUT_LIBBURN
#include <libisofs/libisofs.h>
