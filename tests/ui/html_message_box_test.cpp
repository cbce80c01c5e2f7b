#include "ui/html_message_box.h"

#include <gtest/gtest.h>

#include <QTimer>
#include <functional>

#include "platform/gui/shell.h"
#include "platform/gui/text.h"
#include "tests/ui/ui_test_support.h"
#include "ui/flat_button.h"
#include "ui/html_label.h"

namespace {

using ui::PrepareMessageText;
using ui::TFKT_BOX;

// Acts on the next modal window from outside, as a user would: waits until it is the active modal
// widget, makes it active, then runs the action (which typically presses keys). Gives up after a while
// by pressing Escape, so that a broken box cannot hang the test.
class Driver {
  public:
    using Action = std::function<void(TFKT_BOX*)>;
    explicit Driver(Action action) : action_(std::move(action)) { Poll(); }
    TFKT_BOX* seen = nullptr;
    QString messageText;
    QString caption;

  private:
    void Poll() {
        QTimer::singleShot(10, [this] {
            auto* box = qobject_cast<TFKT_BOX*>(QApplication::activeModalWidget());
            if (!box) {
                if (++tries_ < 300) Poll();
                return;
            }
            seen = box;
            messageText = box->property("MessageText").toString();
            caption = box->windowTitle();
            QApplication::setActiveWindow(box);
            action_(box);
            QTimer::singleShot(1000, [box = QPointer<TFKT_BOX>(box)] {
                if (box && box->isVisible()) box->done(gui::mrAbort);
            });
        });
    }
    Action action_;
    int tries_ = 0;
};

void Key(int key, Qt::KeyboardModifiers mods = Qt::NoModifier, const QString& text = {}) {
    uitest::PressKey(key, mods, text);
}

TEST(PrepareMessageText, LineCapAndBreaks) {
    QStringList thirty;
    for (int i = 1; i <= 30; ++i) thirty << QStringLiteral("L%1").arg(i);
    QString expected = thirty.mid(0, 21).join("<br>") + "<br>................<br>L30";
    EXPECT_EQ(PrepareMessageText(thirty.join("<BR>")), expected);
    QStringList exact = thirty.mid(0, 21);
    EXPECT_EQ(PrepareMessageText(exact.join("\r\n")), exact.join("<br>"));
    EXPECT_EQ(PrepareMessageText("<BR><br>\r\nerste<BR><BR>dritte"), "erste<br><br>dritte");
    EXPECT_EQ(PrepareMessageText("a<Br>b\r\nc<bR>d"), "a<br>b<br>c<br>d");
    EXPECT_EQ(PrepareMessageText("a\nb"), "a<br>b");
}

TEST(EscapeMessageText, ErrorTextsCannotBecomeMarkup) {
    EXPECT_EQ(ui::EscapeMessageText("<A href=\"x\">klick</A> & <B"),
              "&lt;A href=\"x\"&gt;klick&lt;/A&gt; &amp; &lt;B");
    EXPECT_EQ(ui::EscapeMessageText("eins\nzwei\r\ndrei"), "eins<BR>zwei\r\ndrei");
    EXPECT_EQ(ui::PossibleErrorText(), "<B>M\xF6glicher Fehler:</B><BR>");
}

class MessageBox : public ::testing::Test {
  protected:
    void SetUp() override { uitest::EnsureApp(); }
};

TEST_F(MessageBox, QuestionAnswers) {
    struct Case {
        const char* name;
        std::function<void(TFKT_BOX*)> act;
        bool answer;
    };
    const Case cases[] = {
        {"Enter on Ja", [](TFKT_BOX*) { Key(Qt::Key_Return); }, true},
        {"Escape", [](TFKT_BOX*) { Key(Qt::Key_Escape); }, false},
        {"click on Nein", [](TFKT_BOX* b) { b->FB_BREAK1->Click(); }, false},
        {"click on Ja", [](TFKT_BOX* b) { b->FB_OK->Click(); }, true},
        {"Right then Enter",
         [](TFKT_BOX*) {
             Key(Qt::Key_Right);
             Key(Qt::Key_Return);
         },
         false},
        {"letter, Backspace and Space do not answer Ja",
         [](TFKT_BOX* b) {
             Key(Qt::Key_J, Qt::NoModifier, "j");
             Key(Qt::Key_Backspace);
             EXPECT_TRUE(b->isVisible());
             b->FB_OK->setFocus();
             Key(Qt::Key_Escape);
         },
         false},
    };
    for (const Case& c : cases) {
        Driver driver(c.act);
        EXPECT_EQ(ui::AskHtmlQuestion("<B>Frage?</B>", "", "Titel"), c.answer) << c.name;
        EXPECT_NE(driver.seen, nullptr) << c.name;
        EXPECT_EQ(driver.caption, "Titel");
    }
}

TEST_F(MessageBox, MessageClosesOnEnterEscapeAndLettersButNotShiftLetters) {
    struct Case {
        const char* name;
        std::function<void()> keys;
    };
    const Case cases[] = {
        {"Enter", [] { Key(Qt::Key_Return); }},
        {"Escape", [] { Key(Qt::Key_Escape); }},
        {"letter", [] { Key(Qt::Key_X, Qt::NoModifier, "x"); }},
    };
    for (const Case& c : cases) {
        bool closedByKey = false;
        Driver driver([&](TFKT_BOX* box) {
            c.keys();
            closedByKey = !box->isVisible() || box->result() != 0;
        });
        ui::ShowHtmlMessage("Hinweis");
        EXPECT_TRUE(closedByKey) << c.name;
    }
    bool stillOpen = false;
    Driver driver([&](TFKT_BOX* box) {
        Key(Qt::Key_X, Qt::ShiftModifier, "X");
        Key(Qt::Key_F1);
        stillOpen = box->result() == 0;
        Key(Qt::Key_Escape);
    });
    ui::ShowHtmlMessage("Hinweis");
    EXPECT_TRUE(stillOpen);
}

TEST_F(MessageBox, ShowsPreparedTextAndApplicationTitle) {
    QCoreApplication::setApplicationName(QStringLiteral("Anwendung"));
    Driver driver([](TFKT_BOX*) { Key(Qt::Key_Escape); });
    ui::ShowHtmlMessage(ui::PossibleErrorText() + ui::EscapeMessageText("kaputt <Z>"));
    EXPECT_EQ(driver.messageText, QString::fromUtf8("<B>Möglicher Fehler:</B><br>kaputt &lt;Z&gt;"));
    EXPECT_EQ(driver.caption, "Anwendung");
}

TEST_F(MessageBox, HelpUnfoldsOnceAndGrowsTheBox) {
    int before = 0, after = 0;
    bool helpVisibleWithoutText = true, disabled = false;
    Driver noHelp([&](TFKT_BOX* box) {
        helpVisibleWithoutText = box->FBhelpS->isVisible();
        Key(Qt::Key_Escape);
    });
    ui::ShowHtmlMessage("ohne Hilfe");
    EXPECT_FALSE(helpVisibleWithoutText);
    Driver withHelp([&](TFKT_BOX* box) {
        before = box->height();
        box->FBhelpQ->Click();
        after = box->height();
        disabled = !box->FBhelpQ->isEnabled();
        EXPECT_TRUE(box->FP_help->isVisible());
        EXPECT_EQ(box->FP_help->height(), box->HelpLabel->height() + 5);
        Key(Qt::Key_Escape);
    });
    ui::AskHtmlQuestion("Frage", "Erste Zeile der Hilfe<BR>zweite Zeile");
    EXPECT_TRUE(disabled);
    EXPECT_GT(after, before);
    EXPECT_EQ(after - before, 2 * gui::CellMetricsOf(gui::Font{}).Height() + 6 + 5);
}

TEST_F(MessageBox, BoxHeightFollowsTheMessage) {
    int height = 0, labelHeight = 0;
    Driver driver([&](TFKT_BOX* box) {
        height = box->height();
        labelHeight = box->MessageLabel->height();
        EXPECT_EQ(box->Pmsg->y(), labelHeight + 2);
        Key(Qt::Key_Escape);
    });
    ui::ShowHtmlMessage("eins<BR>zwei<BR>drei");
    EXPECT_EQ(labelHeight, 3 * gui::CellMetricsOf(gui::Font{}).Height() + 6);
    EXPECT_EQ(height, labelHeight + 37);
}

TEST_F(MessageBox, OpenedLinkClosesTheQuestionWithNo) {
    std::vector<QString> opened;
    gui::SetShellOpen([&](const QString& t) {
        opened.push_back(t);
        return gui::ShellOpenResult::Ok;
    });
    bool linkOpened = false;
    Driver driver([&](TFKT_BOX* box) {
        const int y = gui::CellMetricsOf(gui::Font{}).Height() / 2;
        uitest::Mouse(box->MessageLabel, QEvent::MouseButtonPress, {4, y});
        linkOpened = box->LinkOpened();
    });
    EXPECT_FALSE(ui::AskHtmlQuestion("<A href=\"https://example.test\">Seite</A> oeffnen?"));
    gui::SetShellOpen({});
    EXPECT_TRUE(linkOpened);
    EXPECT_EQ(opened, std::vector<QString>{"https://example.test"});
}

}  // namespace
