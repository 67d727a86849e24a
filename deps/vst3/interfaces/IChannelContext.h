#pragma once

#include "deps/vst3/interfaces/IMessage.h"

namespace Steinberg::Vst::ChannelContext {

// The host tells the plug-in about the track it sits on.
class IInfoListener : public FUnknown
{
public:
  virtual tresult VST3_CALL setChannelContextInfos(IAttributeList* list) = 0;
  VST3_INTERFACE_ID(0x0F194781, 0x8D984ADA, 0xBBA0C1EF, 0xC011D8D0);
};

// Attribute keys; integers arrive as int64, strings with their size in bytes.
constexpr const char* kChannelUIDKey = "channel uid";
constexpr const char* kChannelUIDLengthKey = "channel uid length";
constexpr const char* kChannelRuntimeIDKey = "channel runtime id";
constexpr const char* kChannelNameKey = "channel name";
constexpr const char* kChannelNameLengthKey = "channel name length";
constexpr const char* kChannelColorKey = "channel color";
constexpr const char* kChannelIndexKey = "channel index"; // counted from 1
constexpr const char* kChannelIndexNamespaceOrderKey = "channel index namespace order";
constexpr const char* kChannelIndexNamespaceKey = "channel index namespace";
constexpr const char* kChannelIndexNamespaceLengthKey = "channel index namespace length";
constexpr const char* kChannelImageKey = "channel image";
constexpr const char* kChannelPluginLocationKey = "channel plugin location";

} // namespace Steinberg::Vst::ChannelContext
