#pragma once
// Where the device path behind each COM port number is kept in the settings.
// The serial layer reads it; the program's settings accessors write it. Both
// take the names from here so they cannot drift apart.

namespace mox::platform {

// Key holding one string value per port: "COM1" .. "COM16".
inline constexpr char kSerialPortsKey[] = "Software\\Kestrin\\Halvox ISDN\\Comport";
// Value name prefix; the port number follows without a gap ("COM3").
inline constexpr char kSerialPortValuePrefix[] = "COM";
// Highest port number: the link dialog and the settings offer COM1 .. COM16,
// the ports Windows names without a device prefix.
inline constexpr int kSerialPortCount = 16;
// Device of COM<n> when the settings name none: COM1 is /dev/ttyS0.
inline constexpr char kSerialPortDefaultDevicePrefix[] = "/dev/ttyS";

} // namespace mox::platform
