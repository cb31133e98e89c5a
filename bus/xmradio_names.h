// The radio service's address on the session bus, shared by the window's client, the simulator
// service and the hand-driving tool.
#pragma once

namespace xmradio {
inline constexpr char ServiceName[] = "org.vanto.XMRadio";
inline constexpr char ObjectPath[] = "/org/vanto/XMRadio";
inline constexpr char InterfaceName[] = "org.vanto.XMRadio";
} // namespace xmradio
