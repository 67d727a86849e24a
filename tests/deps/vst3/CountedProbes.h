#pragma once

// Small host-side objects for the layer's tests: each counts its references, so a test
// sees whether the layer keeps and releases what it is handed.

#include "deps/vst3/interfaces/IEditController.h"
#include "deps/vst3/interfaces/IHostApplication.h"
#include "deps/vst3/interfaces/IPlugView.h"

#include <string>
#include <vector>

namespace vst3test {

using namespace Steinberg;
using namespace Steinberg::Vst;

class CountedHost : public IHostApplication
{
public:
  int references = 1;
  tresult VST3_CALL queryInterface(const TUID iid, void** obj) override
  {
    if (uidEqual(iid, FUnknown::iid) || uidEqual(iid, IHostApplication::iid))
    {
      ++references;
      *obj = this;
      return kResultOk;
    }
    *obj = nullptr;
    return kNoInterface;
  }
  uint32 VST3_CALL addRef() override { return ++references; }
  uint32 VST3_CALL release() override { return --references; }
  tresult VST3_CALL getName(String128 name) override
  {
    name[0] = u'H';
    name[1] = 0;
    return kResultOk;
  }
  tresult VST3_CALL createInstance(TUID, TUID, void** obj) override
  {
    *obj = nullptr;
    return kNoInterface;
  }
};

// A component handler that may also answer IComponentHandler2; it logs every call.
class RecordingHandler : public IComponentHandler, public IComponentHandler2
{
public:
  explicit RecordingHandler(bool answersSecond)
    : second(answersSecond)
  {
  }
  int references = 1;
  bool second;
  std::vector<std::string> calls;

  tresult VST3_CALL queryInterface(const TUID iid, void** obj) override
  {
    if (uidEqual(iid, FUnknown::iid) || uidEqual(iid, IComponentHandler::iid))
      *obj = static_cast<IComponentHandler*>(this);
    else if (second && uidEqual(iid, IComponentHandler2::iid))
      *obj = static_cast<IComponentHandler2*>(this);
    else
    {
      *obj = nullptr;
      return kNoInterface;
    }
    ++references;
    return kResultOk;
  }
  uint32 VST3_CALL addRef() override { return ++references; }
  uint32 VST3_CALL release() override { return --references; }
  tresult VST3_CALL beginEdit(ParamID id) override { return log("begin " + std::to_string(id)); }
  tresult VST3_CALL performEdit(ParamID id, ParamValue value) override
  {
    return log("perform " + std::to_string(id) + " " + std::to_string(value));
  }
  tresult VST3_CALL endEdit(ParamID id) override { return log("end " + std::to_string(id)); }
  tresult VST3_CALL restartComponent(int32 flags) override { return log("restart " + std::to_string(flags)); }
  tresult VST3_CALL setDirty(TBool) override { return log("dirty"); }
  tresult VST3_CALL requestOpenEditor(FIDString) override { return log("open editor"); }
  tresult VST3_CALL startGroupEdit() override { return log("start group"); }
  tresult VST3_CALL finishGroupEdit() override { return log("finish group"); }

private:
  tresult log(const std::string& call)
  {
    calls.push_back(call);
    return kResultOk;
  }
};

class CountedFrame : public IPlugFrame
{
public:
  int references = 1;
  tresult VST3_CALL queryInterface(const TUID, void** obj) override
  {
    *obj = nullptr;
    return kNoInterface;
  }
  uint32 VST3_CALL addRef() override { return ++references; }
  uint32 VST3_CALL release() override { return --references; }
  tresult VST3_CALL resizeView(IPlugView*, ViewRect*) override { return kResultOk; }
};

} // namespace vst3test
