#include "screens/lookup/lookup_windows.h"

namespace velmora {

LookupWindows::Window::~Window() {
    // The view forwards to the presenter, so it goes first.
    view.reset();
    presenter.reset();
}

LookupWindows::LookupWindows(const LookupSession& session, LookupData& data, LookupViewFactory& views,
                             TodaySource today)
    : m_session(session), m_data(data), m_views(views), m_today(std::move(today)) {}

LookupWindows::~LookupWindows() = default;

void LookupWindows::open(LookupWindowId id, LookupHost& opener, const std::string& condition,
                         const std::string& target, const std::string& nextFocus) {
    opener.setHostEnabled(false);
    m_context.entryScreen = &opener;
    m_context.LookupCaller = nullptr;
    m_context.LookupNested = false;
    m_context.LookupCondition = condition;
    m_context.LookupTarget = {&opener, target};
    m_context.LookupNextFocus = {&opener, nextFocus};
    show(id, nullptr);
}

void LookupWindows::show(LookupWindowId id, std::function<void()> whenClosed) {
    const WindowDescription& description = DescribeWindow(id);
    auto& slot = m_windows[id];
    // A window that is not a master starts afresh; the one it replaces has
    // long finished handing over.
    if (!slot || !description.master) {
        auto window = std::make_unique<Window>();
        window->presenter = std::make_unique<LookupPresenter>(description, m_session, m_data, m_context, this, m_today);
        window->view = m_views.createView(description, *window->presenter);
        window->presenter->setView(window->view.get());
        slot = std::move(window);
    }
    slot->presenter->open(std::move(whenClosed));
}

LookupPresenter* LookupWindows::find(LookupWindowId id) {
    auto it = m_windows.find(id);
    return it == m_windows.end() || !it->second ? nullptr : it->second->presenter.get();
}

}  // namespace velmora
