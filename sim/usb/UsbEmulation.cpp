#include "UsbEmulation.h"

#include "EmulatedBus.h"

namespace UsbEmulation {

void Reset(const UsbEmulationSetup& setup)
{
    EmulatedBus& bus = EmulatedBus::Instance();
    const auto lock = bus.Lock();
    bus.Reset(setup);
}

void Unplug()
{
    EmulatedBus& bus = EmulatedBus::Instance();
    const auto lock = bus.Lock();
    bus.Advance();
    if (EmulatedDevice* device = bus.First())
        device->Chip().Remove();
    bus.Notify();
}

std::optional<std::chrono::steady_clock::time_point> NextCompletion()
{
    EmulatedBus& bus = EmulatedBus::Instance();
    const auto lock = bus.Lock();
    return bus.NextCompletion();
}

UsbEmulationState State()
{
    EmulatedBus& bus = EmulatedBus::Instance();
    const auto lock = bus.Lock();
    bus.Advance();
    UsbEmulationState state;
    state.DeviceReferences = bus.deviceReferences;
    const EmulatedDevice* device = bus.First();
    if (device == nullptr)
        return state;
    const std::vector<EmulatedDevice*> listed = bus.Listed();
    const FtdiBridgeChip& chip = device->Chip();
    state.Listed = !listed.empty() && listed.front() == device;
    state.KernelDriverBound = device->kernelDriverBound;
    state.InterfaceClaimed = device->interfaceClaimed;
    state.OpenHandles = device->openHandles;
    state.LatencyTimer = chip.LatencyTimer();
    state.BitMode = chip.BitMode();
    state.BaudDivisor = chip.BaudDivisor();
    state.FlowControl = chip.FlowControl();
    state.ChipResets = chip.ChipResets();
    state.ReceivePurges = chip.ReceivePurges();
    state.TransmitPurges = chip.TransmitPurges();
    state.BytesToHost = chip.BytesToHost();
    state.LostSamples = device->Firmware().LostSamples();
    state.Running = device->Firmware().Running();
    return state;
}

}  // namespace UsbEmulation
