#include "engine/platform/WindowSystem.h"

#include "engine/core/Clock.h"
#include "engine/platform/MessageBox.h"
#include "engine/platform/recording/HeadlessWindowBackend.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace mareldon {
namespace {

// Writes what reaches it into one shared event list.
class ProbeWindow : public Window, public KeyListener, public MouseListener {
  public:
    ProbeWindow(Window* parent, const char* kind, const WindowLayout& layout, std::vector<std::string>& log,
                const char* name)
        : Window(parent, kind, name, 7, layout), log_(log), name_(name) {
        keySink = this;
        mouseSink = this;
    }
    bool acceptCommands = true;

    void OnRedraw() override { Add("redraw"); }
    void OnActivate() override { Add("activate"); }
    void OnTimer() override { Add("timer"); }
    void OnDestroy() override { Add("destroy"); }
    bool OnCommand(int32_t id) override {
        Add("command " + std::to_string(id));
        return acceptCommands;
    }
    void OnDropFile(const String& path) override { Add(std::string("drop ") + path.Text()); }
    void OnCopyData(uint32_t size, const void* data) override {
        Add("copy " + std::string(static_cast<const char*>(data), size));
    }
    void OnChar(const String& c) override { Add(std::string("char ") + c.Text()); }
    void OnKeyDown(int32_t key) override { Add("keydown " + std::to_string(key)); }
    void OnKeyUp(int32_t key) override { Add("keyup " + std::to_string(key)); }
    void OnButtonDown(int32_t button) override { Add("down " + std::to_string(button)); }
    void OnButtonUp(int32_t button) override { Add("up " + std::to_string(button)); }

  private:
    void Add(const std::string& what) { log_.push_back(name_ + " " + what); }
    std::vector<std::string>& log_;
    std::string name_;
};

WindowLayout Fixed(int32_t width, int32_t height) {
    WindowLayout layout;
    layout.rightOffset = width;
    layout.bottomOffset = height;
    return layout;
}

class WindowSystemTest : public ::testing::Test {
  protected:
    WindowSystemTest() : system(CreateHeadlessWindowSystem(backend)) {}
    // Windows are children of the system, which deletes them.
    ProbeWindow* Top(int32_t width = 640, int32_t height = 480) {
        return new ProbeWindow(system.get(), "TOPWINDOW", Fixed(width, height), log, "top");
    }
    NativeHandle Handle(Window* w) const { return w->native != nullptr ? w->native->handle : 0; }

    std::vector<std::string> log;
    HeadlessWindowBackend* backend = nullptr;
    std::unique_ptr<WindowSystem> system;
};

TEST_F(WindowSystemTest, ChildFollowsItsLayoutWhenTheParentIsResized) {
    ProbeWindow* top = Top();
    WindowLayout layout;
    layout.leftOffset = 10;
    layout.rightFactor = 1.0f;
    layout.rightOffset = -10;
    layout.topOffset = 10;
    layout.bottomFactor = 0.5f;
    auto* child = new ProbeWindow(top, "NORMALWINDOW", layout, log, "child");
    ASSERT_NE(child->native, nullptr);
    const HeadlessWindowBackend::Record* record = backend->Find(Handle(child));
    EXPECT_EQ(record->parent, Handle(top));
    EXPECT_EQ(record->rect.left, 10);
    EXPECT_EQ(record->rect.top, 10);
    EXPECT_EQ(record->rect.right, 630);
    EXPECT_EQ(record->rect.bottom, 240);
    EXPECT_EQ(system->windowCount, 2);

    backend->PostResize(Handle(top), 320, 240);
    EXPECT_TRUE(system->Pump());
    record = backend->Find(Handle(child));
    EXPECT_EQ(record->rect.left, 10);
    EXPECT_EQ(record->rect.top, 10);
    EXPECT_EQ(record->rect.right, 310);
    EXPECT_EQ(record->rect.bottom, 120);
    EXPECT_EQ(log, (std::vector<std::string>{"child redraw", "top redraw"}));
}

TEST_F(WindowSystemTest, MainWindowLayoutUnderTheSystemUsesOffsetsOnly) {
    ProbeWindow* top = Top(480, 640);
    const WindowRect client = system->GetClientRect(top);
    EXPECT_EQ(client.right, 480);
    EXPECT_EQ(client.bottom, 640);
    EXPECT_EQ(backend->Find(Handle(top))->text, "top");
    system->SetPosition(top, 30, 40);
    system->SetClientSize(top, 640, 480);  // placement restored with the sides exchanged
    const WindowRect rect = system->GetWindowRect(top);
    EXPECT_EQ(rect.left, 30);
    EXPECT_EQ(rect.top, 40);
    EXPECT_EQ(rect.right, 670);
    EXPECT_EQ(rect.bottom, 520);
    EXPECT_EQ(log, (std::vector<std::string>{"top redraw"}));
}

TEST_F(WindowSystemTest, UnknownKindsMakeNoNativeWindowAndIgnoreOperations) {
    auto* odd = new ProbeWindow(system.get(), "LISTBOX", Fixed(10, 10), log, "odd");
    EXPECT_EQ(odd->native, nullptr);
    EXPECT_EQ(system->windowCount, 0);
    odd->Show(true);
    system->SetText(odd, "x");
    Vec3 position{1, 2, 3};
    odd->GetCursorPosition(position);
    EXPECT_EQ(position.x, 0.0f);
    EXPECT_EQ(odd->LayoutRight(), 10);
    // Child kinds need a parent with a native window.
    auto* orphan = new ProbeWindow(odd, "BUTTON", Fixed(10, 10), log, "orphan");
    EXPECT_EQ(orphan->native, nullptr);
    EXPECT_EQ(orphan->system, system.get());
    EXPECT_TRUE(backend->Windows().empty());
}

TEST_F(WindowSystemTest, ClosingTheLastWindowEndsThePump) {
    ProbeWindow* top = Top();
    auto* child = new ProbeWindow(top, "BUTTON", Fixed(5, 5), log, "button");
    EXPECT_TRUE(system->Pump());
    EXPECT_FALSE(system->quitReceived);

    backend->PostClose(Handle(top));
    static_cast<MessagePump&>(*system).PumpMessages();  // as the main loop calls it
    EXPECT_TRUE(system->quitReceived);
    EXPECT_EQ(system->windowCount, 0);
    EXPECT_EQ(top->native, nullptr);
    EXPECT_EQ(child->native, nullptr);
    EXPECT_TRUE(backend->Windows().empty());
    EXPECT_EQ(log, (std::vector<std::string>{"top destroy", "button destroy"}));

    // Once the quit is seen nothing is read any more.
    const int polls = backend->PollCount();
    backend->PostSimple(Handle(top), WindowEventType::Paint);
    EXPECT_FALSE(system->Pump());
    EXPECT_EQ(backend->PollCount(), polls);
}

TEST_F(WindowSystemTest, QuitRequestClosesEveryWindow) {
    Top();
    Top();
    backend->PostSimple(0, WindowEventType::QuitRequest);
    EXPECT_FALSE(system->Pump());
    EXPECT_EQ(system->windowCount, 0);
    EXPECT_EQ(log, (std::vector<std::string>{"top destroy", "top destroy"}));
}

TEST_F(WindowSystemTest, RefusedCommandDestroysTheWindow) {
    ProbeWindow* top = Top();
    backend->PostSimple(Handle(top), WindowEventType::Command, 40001);
    system->Pump();
    EXPECT_NE(top->native, nullptr);
    top->acceptCommands = false;
    backend->PostSimple(Handle(top), WindowEventType::Command, 40002);
    system->Pump();
    EXPECT_EQ(top->native, nullptr);
    EXPECT_EQ(log, (std::vector<std::string>{"top command 40001", "top command 40002", "top destroy"}));
}

TEST_F(WindowSystemTest, EventsReachHandlersAndListenersInOrder) {
    ProbeWindow* top = Top();
    const NativeHandle h = Handle(top);
    backend->PostDropFile(h, "C:\\a.txt");
    backend->PostDropFile(h, "C:\\b.txt");
    backend->PostKey(h, 0x41, true);
    backend->PostChar(h, "\x83\x5C");
    backend->PostKey(h, 0x41, false);
    backend->PostButton(h, 1, true);
    backend->PostButton(h, 0, false);
    backend->PostSimple(h, WindowEventType::Activate);
    backend->PostSimple(h, WindowEventType::Paint);
    WindowEvent copy;
    copy.type = WindowEventType::CopyData;
    copy.window = h;
    copy.text = "hello";
    backend->Post(copy);
    backend->PostSimple(999, WindowEventType::Paint);  // unknown handle: dropped
    system->Pump();
    EXPECT_EQ(log, (std::vector<std::string>{"top drop C:\\a.txt", "top drop C:\\b.txt", "top keydown 65",
                                             "top char \x83\x5C", "top keyup 65", "top down 1", "top up 0",
                                             "top activate", "top redraw", "top copy hello"}));
}

TEST_F(WindowSystemTest, TimerRunsFromThePumpOnTheClock) {
    VirtualClock clock(1000);
    ScopedClock scope(clock);
    ProbeWindow* top = Top();
    system->StartTimer(top, 0.5f);
    clock.Advance(499);
    system->Pump();
    EXPECT_TRUE(log.empty());
    clock.Advance(1);
    system->Pump();
    system->Pump();  // once per period, not once per pump
    EXPECT_EQ(log, (std::vector<std::string>{"top timer"}));
    clock.Advance(500);
    system->Pump();
    EXPECT_EQ(log.size(), 2u);
    system->StopTimer(top);
    clock.Advance(5000);
    system->Pump();
    EXPECT_EQ(log.size(), 2u);
}

TEST_F(WindowSystemTest, CursorTextAndDrawingReachTheBackend) {
    ProbeWindow* top = Top();
    top->ShowCursor(false);
    EXPECT_FALSE(system->IsCursorShown(top));
    top->ShowCursor(true);
    EXPECT_TRUE(system->IsCursorShown(top));
    backend->SetCursorPosition(Handle(top), 12, 34);
    Vec3 position{9, 9, 9};
    top->GetCursorPosition(position);
    EXPECT_EQ(position.x, 12.0f);
    EXPECT_EQ(position.y, 34.0f);
    EXPECT_EQ(position.z, 0.0f);

    auto* edit = new ProbeWindow(top, "EDIT", Fixed(100, 100), log, "edit");
    system->SetText(edit, "a");
    system->AppendText(edit, "bc");
    system->ScrollTextToTop(edit);
    EXPECT_EQ(backend->Find(Handle(edit))->text, "abc");
    system->DrawText(top, 1, 2, "hi", WindowColour{0xFF, 0x00, 0x10}, WindowColour{});
    system->FillRect(top, 0, 0, 4, 4, WindowColour{1, 2, 3});
    EXPECT_EQ(backend->Log(), (std::vector<std::string>{"append bc", "scroll top",
                                                        "text 1 2 ff0010 000000 hi", "fill 0 0 4 4 010203"}));
    // Without an IME the IME stays shut.
    system->SetImeOpen(top, true);
    EXPECT_FALSE(system->IsImeOpen(top));
}

TEST_F(WindowSystemTest, MessageBoxesGoToTheBackendOrToStderr) {
    ShowMessageBox(&system->Backend(), "SOUNDBOXDX", "\x83\x5C");
    ASSERT_EQ(backend->MessageBoxes().size(), 1u);
    EXPECT_EQ(backend->MessageBoxes()[0].caption, "SOUNDBOXDX");
    EXPECT_EQ(backend->MessageBoxes()[0].text, "\x83\x5C");
    testing::internal::CaptureStderr();
    ShowMessageBox(nullptr, "caption", "text");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "caption: text\n");
}

TEST_F(WindowSystemTest, DeletingAWindowNodeDestroysItsNativeWindow) {
    ProbeWindow* top = Top();
    new ProbeWindow(top, "STATICTEXT", Fixed(5, 5), log, "label");
    EXPECT_EQ(system->windowCount, 2);
    delete top;
    EXPECT_EQ(system->windowCount, 0);
    EXPECT_TRUE(backend->Windows().empty());
    EXPECT_EQ(system->childCount, 0);
    EXPECT_FALSE(system->Pump());
}

}  // namespace
}  // namespace mareldon
