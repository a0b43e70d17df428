#pragma once

#include "messages/Prompter.h"

#include <QPointer>

class QWidget;

// Shows prompts as QMessageBox titled "NMaker", with the buttons of a Windows box in the
// program's own language whatever the system locale: the catalogue's texts name those buttons.
class QtPrompter : public Prompter
{
public:
    explicit QtPrompter(QWidget* parent = nullptr) : m_parent(parent) {}
    void setParent(QWidget* parent) { m_parent = parent; }

    int prompt(const PromptRequest& request) override;

    // Longer texts show their first and last lines, and the whole under "details".
    static constexpr int MaxShownLines = 30;

private:
    QPointer<QWidget> m_parent;
};
