#pragma once

#include <memory>

#include "data/clock.h"
#include "../lookup/lookup_fakes.h"
#include "screen_fixture.h"
#include "screens/entry/entry_fields.h"
#include "screens/entry/session_bridge.h"

namespace velmora::test {

// The entry screen of a started program with its lookup windows, each on a
// recording window.
class LookupScreenTest : public ScreenTest {
  protected:
    void SetUp() override {
        ScreenTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        data = std::make_unique<DataAccessLookupData>(program->access());
        session = MakeLookupSession(program->session());
        lookups = std::make_unique<LookupWindows>(session, *data, views,
                                                  [this] { return FormatDate(program->access().Now()); });
        // The same run, now with lookup windows.
        presenter = std::make_unique<EntryPresenter>(*program, lookups.get());
        presenter->KeepLookupsInStep(session);
        view = RecordingEntryView();
        presenter->Load(view);
    }
    void TearDown() override {
        if (presenter) presenter->EndWithoutAsking();
        presenter.reset();
        lookups.reset();
        ScreenTest::TearDown();
    }
    // The window the field's gesture (or its button) opened, or nullptr.
    FakeLookupView* Open(const Control& field, bool byButton = false) {
        const auto before = views.created;
        if (byButton)
            presenter->ButtonPressed({FindEntryField(field.name)->button, field.row});
        else
            presenter->FieldGesture(field);
        for (const auto& [id, count] : views.created)
            if (before.count(id) == 0 || before.at(id) != count || views.views[id]->visible) {
                opened = id;
                return views.views[id];
            }
        return nullptr;
    }

    std::unique_ptr<DataAccessLookupData> data;
    LookupSession session;
    FakeViewFactory views;
    std::unique_ptr<LookupWindows> lookups;
    LookupWindowId opened{};
};

}  // namespace velmora::test
