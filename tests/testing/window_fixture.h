// A main window over the scripted component, with message boxes and modal windows answered by
// the test.
#pragma once

#include "app/fdlg_ora_logon.h"
#include "app/frm_mainkey.h"
#include "app/frm_search.h"
#include "shell/app_state.h"
#include "testing/scripted_engine.h"
#include "testing/test_dialogs.h"

#include <QLineEdit>

namespace quarnel::testing {

// True while the window's busy window is on screen.
inline bool busyShown(const frm_mainkey* window) {
    const auto* busy = window->findChild<frmSearch*>();
    return busy != nullptr && busy->isVisible();
}

struct WindowFixture {
    std::shared_ptr<db::ScriptedBackend> backend;
    TestDialogs dialogs;
    AppState state;
    frm_mainkey* window = nullptr;

    // A fresh backend, state and shown window, as after the window's load.
    void open() {
        close();
        backend = db::ScriptedBackend::create();
        dialogs = TestDialogs{};
        state = AppState{};
        state.dialogs = &dialogs;
        state.sessionFactory = backend->factory();
        window = new frm_mainkey(state);
        window->setAttribute(Qt::WA_DeleteOnClose, false);
        window->setUpControls();
        window->show();
    }
    void close() {
        delete window;
        window = nullptr;
    }

    // Every logon dialog from now on is filled with these texts and OK is pressed once.
    void answerLogons(const QString& user, const QString& password, const QString& host) {
        dialogs.onModal = [=](QDialog& dialog) {
            auto& logon = dynamic_cast<fdlgOraLogon&>(dialog);
            logon.txtUsrID->setText(user);
            logon.txtPasswd->setText(password);
            logon.txtHost->setText(host);
            logon.cmdOK_Click();
        };
    }
};

}  // namespace quarnel::testing
