#pragma once

#include "platform/text/LocaleSeparators.h"
#include "widgets/FieldEdit.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>
#include <memory>

// Counts the key presses and releases of one key that reach a widget.
class KeyCounter final : public QObject {
public:
    KeyCounter(QWidget* target, int key) : key_(key) { target->installEventFilter(this); }
    int presses = 0;
    int releases = 0;

protected:
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(e)->key() == key_)
            ++presses;
        if (e->type() == QEvent::KeyRelease && static_cast<QKeyEvent*>(e)->key() == key_)
            ++releases;
        return false;
    }

private:
    int key_;
};

// A shown, active window with a panel holding the edits, in tab order of creation;
// the locale's separators are "." and "," for every test.
class FieldEditTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetLocaleSeparatorsForTesting('.', ',');
        window = std::make_unique<QWidget>();
        window->resize(400, 300);
        panel = new QWidget(window.get());
        panel->setGeometry(0, 0, 400, 300);
    }
    void TearDown() override
    {
        window.reset();
        SetLocaleSeparatorsForTesting('\0', '\0');
    }

    TFieldEdit* AddEdit(int left, int top, int width = 100)
    {
        auto* edit = new TFieldEdit(panel);
        edit->SetBounds(left, top, width, 21);
        return edit;
    }

    void Show()
    {
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }

    // Gives the edit the focus as the Tab key would.
    static void Focus(TFieldEdit* edit)
    {
        edit->setFocus(Qt::TabFocusReason);
        ASSERT_TRUE(QTest::qWaitFor([edit] { return edit->hasFocus(); }));
    }

    static void Type(TFieldEdit* edit, const char* text) { QTest::keyClicks(edit, text); }

    std::unique_ptr<QWidget> window;
    QWidget* panel = nullptr;
};
