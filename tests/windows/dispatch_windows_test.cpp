// The automation layer's COM side, both ends in one apartment: the client wrapper calling through
// IDispatch into the automation layer's server side, over an automation object of the test's own.
#include <gtest/gtest.h>
#include <objbase.h>

#include "act/win32/dispatch_object.h"
#include "act/win32/dispatch_server.h"
#include "act/win32/variant.h"
#include "platform/runtime_error.h"

namespace {

using vn::AutoObject;
using vn::AutoValue;

// Answers by member name; "Twice" doubles its by-reference argument, "Echo" gives back what it
// was given, "Child" hands out an object of its own kind, "Fail" raises an automation error.
class Recorder : public vn::clAutomationObject {
 public:
  AutoValue Invoke(const std::string& member, std::vector<AutoValue>& args) override {
    calls.push_back("Invoke " + member);
    if (member == "twice") {
      args[0] = AutoValue::Ref(std::int32_t{args[0].ToLong() * 2});
      args[1] = AutoValue::Ref(args[1].ToText() + "ß");
      return {};
    }
    if (member == "echo") {
      refs.clear();
      for (const AutoValue& a : args) refs.push_back(a.IsRef());
      return args.at(0);
    }
    if (member == "child") return AutoObject(std::make_shared<Recorder>());
    if (member == "nothing") return AutoValue(AutoObject());
    throw vn::RuntimeError(-2147417851, "Serverfehler in " + member, "Recorder");
  }
  AutoValue GetProperty(const std::string& member) override {
    calls.push_back("Get " + member);
    return std::int32_t{7};
  }
  void PutProperty(const std::string& member, const AutoValue& value) override {
    calls.push_back("Put '" + member + "' " + value.ToText());
  }
  std::vector<std::string> calls;
  std::vector<bool> refs;
};

class DispatchWindowsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    recorder_ = std::make_shared<Recorder>();
    client_ = vn::win32::ClientObjectOf(vn::win32::ServedDispatchOf(recorder_).get());
  }
  void TearDown() override {
    client_.reset();
    EXPECT_EQ(vn::win32::DispatchServer::Live(), 0);
    ::CoUninitialize();
  }
  std::shared_ptr<Recorder> recorder_;
  AutoObject client_;
};

TEST_F(DispatchWindowsTest, ValuesCrossInBothDirectionsWithTheirTypes) {
  for (const AutoValue& v :
       {AutoValue(), AutoValue(true), AutoValue(false), AutoValue(std::int16_t{-2}),
        AutoValue(std::int32_t{-2147483647 - 1}), AutoValue(2.5), AutoValue("Müller & Söhne"),
        AutoValue(std::string("A\0B", 3))}) {
    AutoValue back = client_->Call("Echo", {v});
    EXPECT_TRUE(back.Raw() == v.Raw()) << v.ToText();
  }
  // Names are the member's whatever their case; the server sees them as it knows them.
  EXPECT_EQ(client_->Call("ECHO", {AutoValue("x")}).ToText(), "x");
  EXPECT_EQ(recorder_->calls.back(), "Invoke echo");
}

TEST_F(DispatchWindowsTest, ByReferenceArgumentsComeBackChanged) {
  std::vector<AutoValue> args{AutoValue::Ref(std::int32_t{21}), AutoValue::Ref("Stra")};
  client_->Invoke("Twice", args);
  EXPECT_EQ(args[0].ToLong(), 42);
  EXPECT_EQ(args[1].ToText(), "Straß");
  EXPECT_TRUE(args[0].IsRef());
  std::vector<AutoValue> mixed{AutoValue::Ref(std::int16_t{25}), AutoValue("v"),
                               AutoValue::Ref(AutoValue())};
  client_->Invoke("Echo", mixed);
  EXPECT_EQ(recorder_->refs, (std::vector<bool>{true, false, true}));
  EXPECT_EQ(mixed[0].ToLong(), 25);
}

TEST_F(DispatchWindowsTest, PropertiesObjectsAndNothing) {
  EXPECT_EQ(client_->GetProperty("Type").ToLong(), 7);
  client_->PutProperty("", "50,00");
  EXPECT_EQ(recorder_->calls[1], "Put '' 50,00");
  {
    AutoObject child = client_->Call("Child").Object();
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(child->Call("Echo", {AutoValue(std::int32_t{3})}).ToLong(), 3);
    EXPECT_EQ(vn::win32::DispatchServer::Live(), 2);
  }
  EXPECT_EQ(vn::win32::DispatchServer::Live(), 1);
  AutoValue nothing = client_->Call("Nothing");
  EXPECT_FALSE(nothing.IsEmpty());
  EXPECT_EQ(nothing.Object(), nullptr);
}

TEST_F(DispatchWindowsTest, AutomationErrorsKeepTheirNumberAndDescription) {
  try {
    client_->Call("Kaputt");
    FAIL() << "no error";
  } catch (const vn::RuntimeError& e) {
    EXPECT_EQ(e.Number(), -2147417851);
    EXPECT_EQ(e.Description(), "Serverfehler in kaputt");
  }
}

// What ACT! may answer beyond the types the bridge knows is taken as VB would take it.
TEST_F(DispatchWindowsTest, OtherResultTypesAreConverted) {
  auto from = [](const VARIANT& v) { return vn::win32::FromVariant(v, vn::win32::ClientObjectOf); };
  vn::win32::Variant v;
  v.Get().vt = VT_UI1;
  v.Get().bVal = 200;
  EXPECT_TRUE(from(v.Get()).Raw() == AutoValue(std::int32_t{200}).Raw());
  v.Get().vt = VT_R4;
  v.Get().fltVal = 1.5f;
  EXPECT_TRUE(from(v.Get()).Raw() == AutoValue(1.5).Raw());
  v.Get().vt = VT_NULL;
  EXPECT_TRUE(from(v.Get()).IsEmpty());
  LONG target = 12;
  v.Get().vt = VT_BYREF | VT_I4;
  v.Get().plVal = &target;
  EXPECT_EQ(from(v.Get()).ToLong(), 12);
  vn::win32::StoreByRef(v.Get(), AutoValue("34"), vn::win32::ClientDispatchOf);
  EXPECT_EQ(target, 34);
  EXPECT_THROW(vn::win32::StoreByRef(v.Get(), AutoValue("x"), vn::win32::ClientDispatchOf),
               vn::RuntimeError);
  // A date as text, and an object handed over as IUnknown still an object.
  v.Get().vt = VT_DATE;
  v.Get().date = 42064.0;  // 1 March 2015
  EXPECT_FALSE(from(v.Get()).ToText().empty());
  EXPECT_TRUE(from(v.Get()).Is<std::string>());
  v.Get().vt = VT_EMPTY;
  vn::ComPtr<IDispatch> served = vn::win32::ServedDispatchOf(recorder_);
  v.Get().vt = VT_UNKNOWN;
  v.Get().punkVal = served.get();
  served.get()->AddRef();  // the Variant's own reference
  AutoObject object = from(v.Get()).Object();
  ASSERT_NE(object, nullptr);
  EXPECT_EQ(object->GetProperty("Type").ToLong(), 7);
}

}  // namespace
