#pragma once

#include "common/BusyState.h"
#include "common/WindowRunContext.h"
#include "folderlist/ListHost.h"

#include <QPushButton>
#include <QWidget>

#include <memory>

// A window the list commands can be started from, without a main window: a series it hands
// out (or refuses, as a field gone wrong), a target text, and a busy state with a create
// button and an exit button that turns into the cancel button.
class FakeListHost : public ListHost
{
public:
    FakeListHost()
    {
        window.setObjectName(QStringLiteral("fakeHost"));
        create = new QPushButton(&window);
        create->setObjectName(QStringLiteral("cmdCreateDelete0"));
        exit = new QPushButton(QStringLiteral("終了"), &window);
        exit->setObjectName(QStringLiteral("cmdExit"));
        busy = std::make_unique<BusyState>(
            BusyState::Parts{&window, {}, {create}, exit, QStringLiteral("終了"), QString()});
        QObject::connect(exit, &QPushButton::clicked,
                         [this] { busy->requestCancel([this] { ++cancelNotices; }); });
        window.show();
    }

    QWidget* hostWindow() override { return &window; }
    bool validateSeries(SeriesParameters& out) override
    {
        ++validations;
        if (valid)
            out = series;
        return valid;
    }
    QString targetText() const override { return target; }
    bool isBusy() const override { return busy->isBusy(); }
    bool isClosing() const override { return busy->closeAfterRunPending(); }
    void enterBusyState() override { busy->enter(); }
    void leaveBusyState() override { busy->leave(); }
    WindowRunContext runContext(const QString&) override { return WindowRunContext(&window, exit); }

    QWidget window;
    QPushButton* create = nullptr;
    QPushButton* exit = nullptr;
    std::unique_ptr<BusyState> busy;
    bool valid = true;
    SeriesParameters series{
        QStringLiteral("/work/"), QStringLiteral("case"), QStringLiteral("_in"), 1, 20, 3, true};
    QString target;
    int validations = 0;
    int cancelNotices = 0;
};
