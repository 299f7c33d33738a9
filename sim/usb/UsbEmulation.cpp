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
    bus.Chip().Remove();
    bus.Notify();
}

UsbEmulationState State()
{
    EmulatedBus& bus = EmulatedBus::Instance();
    const auto lock = bus.Lock();
    bus.Advance();
    const FtdiBridgeChip& chip = bus.Chip();
    UsbEmulationState state;
    state.Listed = bus.Listed();
    state.KernelDriverBound = bus.kernelDriverBound;
    state.InterfaceClaimed = bus.interfaceClaimed;
    state.OpenHandles = bus.openHandles;
    state.DeviceReferences = bus.deviceReferences;
    state.LatencyTimer = chip.LatencyTimer();
    state.BitMode = chip.BitMode();
    state.BaudDivisor = chip.BaudDivisor();
    state.FlowControl = chip.FlowControl();
    state.ChipResets = chip.ChipResets();
    state.ReceivePurges = chip.ReceivePurges();
    state.TransmitPurges = chip.TransmitPurges();
    state.BytesToHost = chip.BytesToHost();
    state.LostSamples = bus.Firmware().LostSamples();
    state.Running = bus.Firmware().Running();
    return state;
}

}  // namespace UsbEmulation
