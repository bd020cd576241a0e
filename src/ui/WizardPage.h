#pragma once

#include <QDialog>

class QGroupBox;
class QPushButton;

namespace gw::ui {

// Pixels for a length given in twips (15 twips are one pixel at 96 dpi), grown with the
// screen's logical resolution so the described layout keeps its proportions.
int twips(int value);

// A page of the wizard: Enter presses the default button, Esc the cancel button, and closing
// the window by its frame ends the program without a hang-up.
class WizardPage : public QDialog {
    Q_OBJECT
public:
    explicit WizardPage(QWidget* parent = nullptr);

protected:
    struct ButtonRow {
        QPushButton* cancel;
        QPushButton* back;
        QPushButton* next;
    };
    // The row along the bottom: Cancel, Back, Next from left to right, at top 3000 twips;
    // Next is the default button and Cancel answers Esc. The names are the page's own.
    ButtonRow addButtonRow(const char* cancelName, const char* backName, const char* nextName);
    // The frame that holds a step's controls, named `Frame1`.
    QGroupBox* addStepFrame(const QString& caption);
    void setClientSize(int widthTwips, int heightTwips);

    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    QPushButton* cancelButton_ = nullptr;
};

// A button at a position given in twips.
QPushButton* makeButton(QWidget* parent, const QString& name, const QString& caption, int left,
                        int top, int width = 1215, int height = 375);

}  // namespace gw::ui
