#include "screens/entry/entry_presenter.h"

namespace velmora {

EntryPresenter::EntryPresenter(Program& program) : m_program(program) {}

void EntryPresenter::Load(EntryView& view) {
    m_view = &view;
    view.SetWindowCaption(m_program.WindowCaption());
    view.SetTitlePanel(m_program.TitleCaption());
    view.SetNotice("");
}

bool EntryPresenter::CloseRequested() {
    if (m_changed && m_view && !m_view->AskYesNo("入力がありました。\n終了しますか？", false)) return false;
    m_program.EndProgram();
    return true;
}

void EntryPresenter::EndWithoutAsking() { m_program.EndProgram(); }

}  // namespace velmora
