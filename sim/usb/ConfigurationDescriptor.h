#pragma once

#include <libusb.h>

#include <cstdint>

// The bridge's one configuration as libusb hands it out: one interface with
// the bulk-in endpoint first, then the bulk-out, both of the chip's packet
// size, in one block that libusb_free_config_descriptor frees.
namespace ConfigurationDescriptor {

// Null when there is no memory.
libusb_config_descriptor* Make(std::uint16_t packetSize, std::uint8_t inEndpoint, std::uint8_t outEndpoint);
void Free(libusb_config_descriptor* config);

}  // namespace ConfigurationDescriptor
