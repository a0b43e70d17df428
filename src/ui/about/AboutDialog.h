#pragma once

#include <QDialog>

// The version dialog: icon, product name, version, description and notice, and OK. It is made
// for one showing and gone afterwards.
class AboutDialog : public QDialog
{
    Q_OBJECT

public:
    explicit AboutDialog(QWidget* parent = nullptr);

    // Creates the dialog, shows it modally and destroys it again.
    static int showModal(QWidget* parent);

    // Escape and the close box press OK: it is the cancel button as well.
    void reject() override;

private:
    void buildControls();
};
