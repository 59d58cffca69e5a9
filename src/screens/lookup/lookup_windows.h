#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>

#include "screens/lookup/lookup_context.h"
#include "screens/lookup/lookup_data.h"
#include "screens/lookup/lookup_presenter.h"
#include "screens/lookup/lookup_session.h"
#include "screens/lookup/lookup_view.h"
#include "screens/lookup/window_description.h"

namespace velmora {

// Makes the window of a presenter: the Qt dialog, or a recording fake.
class LookupViewFactory {
public:
    virtual ~LookupViewFactory() = default;
    virtual std::unique_ptr<LookupView> createView(const WindowDescription& window, LookupPresenter& presenter) = 0;
};

// The lookup windows of a run and their shared context. Master windows are
// made once and kept, hidden, between openings; the others are made afresh
// for every opening.
class LookupWindows {
public:
    LookupWindows(const LookupSession& session, LookupData& data, LookupViewFactory& views,
                  TodaySource today = SystemToday);
    ~LookupWindows();
    LookupWindows(const LookupWindows&) = delete;
    LookupWindows& operator=(const LookupWindows&) = delete;

    LookupContext& context() { return m_context; }

    // Opening from the entry screen: the opener disables itself, the
    // condition, target and next focus are set, and the window is shown.
    void open(LookupWindowId id, LookupHost& opener, const std::string& condition, const std::string& target,
              const std::string& nextFocus);
    // Shows a window with the context as it stands (nested openings set it
    // themselves); whenClosed runs once the window has handed over.
    void show(LookupWindowId id, std::function<void()> whenClosed);

    // The window's presenter while it exists (a master window between
    // openings, or the last opening of another window).
    LookupPresenter* find(LookupWindowId id);

private:
    struct Window {
        std::unique_ptr<LookupPresenter> presenter;
        std::unique_ptr<LookupView> view;
        ~Window();
    };

    const LookupSession& m_session;
    LookupData& m_data;
    LookupViewFactory& m_views;
    TodaySource m_today;
    LookupContext m_context;
    std::map<LookupWindowId, std::unique_ptr<Window>> m_windows;
};

}  // namespace velmora
