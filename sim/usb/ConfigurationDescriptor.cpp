#include "ConfigurationDescriptor.h"

#include <new>

namespace ConfigurationDescriptor {

namespace {

struct Block {
    libusb_config_descriptor configuration;
    libusb_interface interface;
    libusb_interface_descriptor setting;
    libusb_endpoint_descriptor endpoints[2];
};

}  // namespace

libusb_config_descriptor* Make(std::uint16_t packetSize, std::uint8_t inEndpoint, std::uint8_t outEndpoint)
{
    auto* block = new (std::nothrow) Block();
    if (block == nullptr)
        return nullptr;
    const std::uint8_t addresses[2] = {inEndpoint, outEndpoint};
    for (int i = 0; i < 2; ++i) {
        libusb_endpoint_descriptor& endpoint = block->endpoints[i];
        endpoint.bLength = LIBUSB_DT_ENDPOINT_SIZE;
        endpoint.bDescriptorType = LIBUSB_DT_ENDPOINT;
        endpoint.bEndpointAddress = addresses[i];
        endpoint.bmAttributes = LIBUSB_TRANSFER_TYPE_BULK;
        endpoint.wMaxPacketSize = packetSize;
    }
    block->setting.bLength = LIBUSB_DT_INTERFACE_SIZE;
    block->setting.bDescriptorType = LIBUSB_DT_INTERFACE;
    block->setting.bNumEndpoints = 2;
    block->setting.bInterfaceClass = LIBUSB_CLASS_VENDOR_SPEC;
    block->setting.iInterface = 2;
    block->setting.endpoint = block->endpoints;
    block->interface.altsetting = &block->setting;
    block->interface.num_altsetting = 1;
    block->configuration.bLength = LIBUSB_DT_CONFIG_SIZE;
    block->configuration.bDescriptorType = LIBUSB_DT_CONFIG;
    block->configuration.bNumInterfaces = 1;
    block->configuration.bConfigurationValue = 1;
    block->configuration.bmAttributes = 0x80;
    block->configuration.MaxPower = 45;  // 90 mA
    block->configuration.interface = &block->interface;
    return &block->configuration;
}

// The configuration is the block's first member.
void Free(libusb_config_descriptor* config)
{
    delete reinterpret_cast<Block*>(config);
}

}  // namespace ConfigurationDescriptor
