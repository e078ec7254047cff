// The track properties dialog, the LFO dialog and the envelope preview, driven with real
// mouse and key events.

#include "DialogTestUtil.h"

#include "dialogs/CColorButton.h"
#include "dialogs/CEnvelopeWnd.h"
#include "dialogs/CFMDialog.h"
#include "dialogs/CLFODialog.h"
#include "dialogs/CNumberEdit.h"
#include "dialogs/CTrackDialog.h"
#include "dialogs/SoundDialogs.h"
#include "model/CEnvelope.h"
#include "model/CTrackData.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QImage>
#include <QLineEdit>
#include <QSlider>

using namespace dlgtest;

namespace {

CTrackData FmTrack() {
    CTrackData track;
    track.name = "FM";
    track.waveform = kFm;
    track.fm.algorithm = 3;
    track.fm.operators[1].envelope.attack = 123;
    track.fm.operators[2].pitchLFO.depth = 77;
    return track;
}

CLFO SomeLFO(int32_t seed) {
    CLFO lfo;
    lfo.waveform = 3;
    lfo.invert = 1;
    lfo.delay = -seed;
    lfo.fade = seed + 1;
    lfo.period = seed + 2;
    lfo.depth = seed + 3;
    return lfo;
}

// Chooses an entry of a list with the keyboard: Home, then Down.
void ChooseWithKeys(QComboBox* list, int index) {
    list->setFocus(Qt::TabFocusReason);
    QTest::keyClick(list, Qt::Key_Home);
    for (int i = 0; i < index; ++i)
        QTest::keyClick(list, Qt::Key_Down);
}

// Pixels of `color` in the image.
int CountColor(const QImage& image, QRgb color) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += image.pixel(x, y) == color ? 1 : 0;
    return count;
}

} // namespace

class TrackDialogTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QuietOffscreenWarnings(); }

    // [GIVEN] envelope boxes [WHEN] typed beyond or stepped past their range [THEN] clamped
    void EnvelopeBoxesClampOnLeavingAndStepping() {
        CTrackDialog dialog;
        dialog.SetTrackData(CTrackData());
        QVERIFY(ShowActive(&dialog));
        auto* sustain = Child<CNumberEdit>(&dialog, "sustain");
        auto* name = Child<QLineEdit>(&dialog, "name");

        TypeOver(sustain, "100001");
        Leave(sustain, name);
        QCOMPARE(sustain->text(), QStringLiteral("100000"));
        QCOMPARE(dialog.GetTrackData().envelope.sustain, 100000);
        sustain->setFocus(Qt::TabFocusReason);
        QTest::keyClick(sustain, Qt::Key_Up);
        QCOMPARE(sustain->text(), QStringLiteral("100000"));

        TypeOver(sustain, "-5");
        Leave(sustain, name);
        QCOMPARE(sustain->text(), QStringLiteral("-1"));
        QCOMPARE(dialog.GetTrackData().envelope.sustain, -1);

        auto* delay = Child<CNumberEdit>(&dialog, "delay");
        TypeOver(delay, "0");
        QTest::keyClick(delay, Qt::Key_Down);
        QCOMPARE(dialog.GetTrackData().envelope.delay, -1);
        TypeOver(delay, "-9998");
        for (int i = 0; i < 4; ++i)
            QTest::keyClick(delay, Qt::Key_Down);
        QCOMPARE(delay->text(), QStringLiteral("-10000"));
        QCOMPARE(dialog.GetTrackData().envelope.delay, -10000);

        const struct {
            const char* box;
            const char* typed;
            const char* shown;
        } cases[] = {{"volume", "5000", "1023"},    {"pan", "-300", "-255"},
                     {"detune", "999", "256"},      {"pseudoWave", "300", "256"},
                     {"attack", "20000", "10000"},  {"release", "-7", "-1"},
                     {"attackLevel", "256", "255"}, {"keyScaling", "17", "16"}};
        for (const auto& c : cases) {
            auto* box = Child<CNumberEdit>(&dialog, c.box);
            TypeOver(box, QString::fromLatin1(c.typed));
            Leave(box, name);
            QCOMPARE(box->text(), QString::fromLatin1(c.shown));
        }
        // Digits only: a minus sign does not get into the volume box.
        auto* volume = Child<CNumberEdit>(&dialog, "volume");
        TypeOver(volume, "-12");
        Leave(volume, name);
        QCOMPARE(volume->text(), QStringLiteral("12"));
    }

    // [GIVEN] the duty list [WHEN] a number beyond ±256 is typed [THEN] it is clamped
    void DutyClampsOnLeaving() {
        CTrackDialog dialog;
        dialog.SetTrackData(CTrackData());
        QVERIFY(ShowActive(&dialog));
        auto* duty = Child<QComboBox>(&dialog, "duty");
        QCOMPARE(duty->count(), 4);
        QCOMPARE(duty->itemText(0), QStringLiteral("-192"));
        TypeOver(duty->lineEdit(), "-400");
        Leave(duty, Child<QLineEdit>(&dialog, "name"));
        QCOMPARE(duty->currentText(), QStringLiteral("-256"));
        QCOMPARE(dialog.GetTrackData().duty, -256);
    }

    // [GIVEN] an FM track [WHEN] the kind becomes square and then FM again [THEN] the buttons
    // follow and the FM settings are still there
    void KindSwitchKeepsTheFmSound() {
        CTrackDialog dialog;
        dialog.SetTrackData(FmTrack());
        QVERIFY(ShowActive(&dialog));
        auto* waveform = Child<QComboBox>(&dialog, "waveform");
        auto* sound = Child<QPushButton>(&dialog, "sound");
        auto* duty = Child<QComboBox>(&dialog, "duty");
        QCOMPARE(waveform->count(), 8);
        QCOMPARE(waveform->itemText(2), QStringLiteral("鋸歯状波（ノコギリ波）"));
        QCOMPARE(waveform->itemText(7), QStringLiteral("FM音源"));
        for (int kind = 0; kind < 8; ++kind)
            QVERIFY(!waveform->itemIcon(kind).isNull());
        QVERIFY(sound->isEnabled());
        QVERIFY(!duty->isEnabled());

        ChooseWithKeys(waveform, kSquare);
        QCOMPARE(waveform->currentIndex(), int(kSquare));
        QVERIFY(!sound->isEnabled());
        QVERIFY(duty->isEnabled());
        for (int kind : {kTriangle, kNoise}) {
            ChooseWithKeys(waveform, kind);
            QVERIFY(!sound->isEnabled() && !duty->isEnabled());
        }
        for (int kind : {kPcm, kWaveMemory}) {
            ChooseWithKeys(waveform, kind);
            QVERIFY(sound->isEnabled() && !duty->isEnabled());
        }

        ChooseWithKeys(waveform, kFm);
        bool shown = false;
        OnNextModal(&dialog, [&](QDialog* modal) {
            auto* fm = qobject_cast<CFMDialog*>(modal);
            shown = fm != nullptr && Child<QComboBox>(modal, "algorithm")->currentIndex() == 3 &&
                    Child<CNumberEdit>(modal, "op2AR")->text() == QStringLiteral("123");
            modal->reject();
        });
        Click(sound);
        QVERIFY(shown);
        QCOMPARE(dialog.GetTrackData().fm, FmTrack().fm);
    }

    // [GIVEN] the FM sub-dialog [WHEN] operators are edited and it is cancelled or confirmed
    // [THEN] the working copy stays as it was, or takes the edit
    void SoundSubDialogWorksOnACopy() {
        CTrackDialog dialog;
        dialog.SetTrackData(FmTrack());
        QVERIFY(ShowActive(&dialog));
        auto* sound = Child<QPushButton>(&dialog, "sound");
        const auto editOperator = [](QDialog* modal, bool accept) {
            auto* ar = Child<CNumberEdit>(modal, "op1AR");
            TypeOver(ar, "4321");
            Leave(ar, Child<CNumberEdit>(modal, "op1DR"));
            accept ? modal->accept() : modal->reject();
        };
        OnNextModal(&dialog, [&](QDialog* modal) { editOperator(modal, false); });
        Click(sound);
        QCOMPARE(dialog.GetTrackData().fm, FmTrack().fm);

        OnNextModal(&dialog, [&](QDialog* modal) { editOperator(modal, true); });
        Click(sound);
        QCOMPARE(dialog.GetTrackData().fm.operators[0].envelope.attack, 4321);
        QCOMPARE(dialog.GetTrackData().name, std::string("FM"));
    }

    // [GIVEN] a sound editor seam [WHEN] it sees the copy [THEN] fields typed before are in it
    void SoundEditorGetsTheFieldsAsShown() {
        CTrackDialog dialog;
        dialog.SetTrackData(FmTrack());
        CTrackData seen;
        dialog.SetSoundEditor([&](QWidget*, CTrackData& copy) {
            seen = copy;
            copy.fm.algorithm = 6;
            return true;
        });
        QVERIFY(ShowActive(&dialog));
        TypeOver(Child<QLineEdit>(&dialog, "name"), "Bell");
        Click(Child<QPushButton>(&dialog, "sound"));
        QCOMPARE(seen.name, std::string("Bell"));
        QCOMPARE(dialog.GetTrackData().fm.algorithm, 6);
        QCOMPARE(dialog.GetTrackData().name, std::string("Bell"));
    }

    // [GIVEN] a name [WHEN] it is cleared and typed again [THEN] OK follows
    void EmptyNameDisablesOk() {
        CTrackDialog dialog(QStringLiteral("トラックの追加"));
        QCOMPARE(dialog.windowTitle(), QStringLiteral("トラックの追加"));
        CTrackData track;
        track.name = "Lead";
        dialog.SetTrackData(track);
        QVERIFY(ShowActive(&dialog));
        auto* name = Child<QLineEdit>(&dialog, "name");
        QVERIFY(OkButton(&dialog)->isEnabled());
        name->setFocus(Qt::TabFocusReason);
        QTest::keyClick(name, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(name, Qt::Key_Backspace);
        QVERIFY(!OkButton(&dialog)->isEnabled());
        QTest::keyClicks(name, "x");
        QVERIFY(OkButton(&dialog)->isEnabled());
    }

    // [GIVEN] the note colour check box [WHEN] toggled [THEN] the colour button follows, and
    // the chooser opens with the application's custom colours
    void ColourButtonUsesTheCustomColours() {
        CColorButton::CustomColors custom{};
        custom[0] = 0x00332211; // 0x00BBGGRR
        SetSoundDialogServices({nullptr, nullptr, &custom, {}});
        CTrackDialog dialog;
        CTrackData track;
        track.useNoteColor = 0;
        track.noteColor = 0x000000FF;
        dialog.SetTrackData(track);
        QVERIFY(ShowActive(&dialog));
        auto* check = Child<QCheckBox>(&dialog, "useNoteColor");
        auto* button = Child<CColorButton>(&dialog, "noteColor");
        QVERIFY(!button->isEnabled());
        Click(check);
        QVERIFY(button->isEnabled());

        QColor firstCustom;
        QColor preset;
        OnNextModal(&dialog, [&](QDialog* modal) {
            auto* chooser = qobject_cast<QColorDialog*>(modal);
            if (chooser == nullptr)
                return;
            firstCustom = QColorDialog::customColor(0);
            preset = chooser->currentColor();
            chooser->setCurrentColor(QColor(0x10, 0x20, 0x30));
            chooser->accept();
        });
        Click(button);
        SetSoundDialogServices({});
        QCOMPARE(firstCustom, QColor(0x11, 0x22, 0x33));
        QCOMPARE(preset, QColor(0xFF, 0, 0));
        const CTrackData result = dialog.GetTrackData();
        QCOMPARE(result.useNoteColor, 1);
        QCOMPARE(result.noteColor, 0x00302010u);
        Click(check);
        QVERIFY(!button->isEnabled());
    }

    // [GIVEN] the preview slider [WHEN] moved [THEN] the preview spans that many seconds, and
    // an envelope edit reaches the preview before the box is left
    void PreviewFollowsSliderAndFields() {
        CTrackDialog dialog;
        dialog.SetTrackData(CTrackData());
        QVERIFY(ShowActive(&dialog));
        auto* slider = Child<QSlider>(&dialog, "previewSpan");
        auto* preview = Child<CEnvelopeWnd>(&dialog, "preview");
        QCOMPARE(slider->minimum(), 1);
        QCOMPARE(slider->maximum(), 10);
        QCOMPARE(preview->GetSpan(), slider->value() * 1000);
        slider->setFocus(Qt::TabFocusReason);
        QTest::keyClick(slider, Qt::Key_End);
        QCOMPARE(preview->GetSpan(), 10000);
        QTest::keyClick(slider, Qt::Key_Left);
        QCOMPARE(preview->GetSpan(), 9000);

        auto* attack = Child<CNumberEdit>(&dialog, "attack");
        TypeOver(attack, "250");
        QVERIFY(preview->GetEnvelope() != nullptr);
        QCOMPARE(preview->GetEnvelope()->attack, 250);
    }

    // [GIVEN] the "LFO..." button [WHEN] the LFO dialog is confirmed or cancelled [THEN] both
    // LFOs come back, or none
    void LfoButtonEditsACopy() {
        CTrackDialog dialog;
        CTrackData track;
        track.pitchLFO = SomeLFO(10);
        track.ampLFO = SomeLFO(20);
        dialog.SetTrackData(track);
        QVERIFY(ShowActive(&dialog));
        auto* lfo = Child<QPushButton>(&dialog, "lfo");
        OnNextModal(&dialog, [](QDialog* modal) {
            TypeOver(Child<CNumberEdit>(modal, "ampDepth"), "99");
            modal->reject();
        });
        Click(lfo);
        QCOMPARE(dialog.GetTrackData().ampLFO, SomeLFO(20));

        OnNextModal(&dialog, [](QDialog* modal) {
            TypeOver(Child<CNumberEdit>(modal, "ampDepth"), "99");
            TypeOver(Child<CNumberEdit>(modal, "pitchPeriod"), "500");
            modal->accept();
        });
        Click(lfo);
        QCOMPARE(dialog.GetTrackData().ampLFO.depth, 99);
        QCOMPARE(dialog.GetTrackData().pitchLFO.period, 500);
        QCOMPARE(dialog.GetTrackData().pitchLFO.delay, -10);
    }

    // [GIVEN] two LFOs [WHEN] the amplitude group is reset [THEN] the pitch LFO stays
    void ResetTouchesOneGroup() {
        CLFODialog dialog;
        QCOMPARE(dialog.windowTitle(), QStringLiteral("LFO"));
        dialog.SetLFOs(SomeLFO(100), SomeLFO(200));
        QVERIFY(ShowActive(&dialog));
        QCOMPARE(Child<QComboBox>(&dialog, "pitchWaveform")->count(), 4);
        Click(Child<QPushButton>(&dialog, "ampReset"));
        QCOMPARE(dialog.GetAmpLFO(), CLFO{});
        QCOMPARE(dialog.GetAmpLFO().waveform, 1);
        QCOMPARE(dialog.GetPitchLFO(), SomeLFO(100));
        QCOMPARE(Child<CNumberEdit>(&dialog, "ampDepth")->text(), QStringLiteral("0"));
    }

    // [GIVEN] the depth boxes [WHEN] typed beyond their range [THEN] each group clamps to its own
    void LfoDepthsClampPerGroup() {
        CLFODialog dialog;
        QVERIFY(ShowActive(&dialog));
        auto* pitch = Child<CNumberEdit>(&dialog, "pitchDepth");
        auto* amp = Child<CNumberEdit>(&dialog, "ampDepth");
        auto* delay = Child<CNumberEdit>(&dialog, "pitchDelay");
        TypeOver(pitch, "5000");
        Leave(pitch, amp);
        TypeOver(amp, "5000");
        Leave(amp, pitch);
        TypeOver(delay, "-20000");
        Leave(delay, pitch);
        QCOMPARE(dialog.GetPitchLFO().depth, 3072);
        QCOMPARE(dialog.GetAmpLFO().depth, 255);
        QCOMPARE(dialog.GetPitchLFO().delay, -10000);
    }

    // [GIVEN] a delay past the key-off time [WHEN] drawn [THEN] only the marker and base line
    void PreviewOfALateDelayDrawsOnlyTheFrame() {
        CEnvelope envelope;
        envelope.delay = 2000;
        const QImage image = GrabPreview(envelope, 1000);
        QCOMPARE(CountColor(image, kTextColor), 0);
        QVERIFY(CountColor(image, kShadowColor) >= kWidth + kHeight - 1);
        QCOMPARE(image.pixel(kWidth * 9 / 10, kHeight / 2), kShadowColor);
    }

    // [GIVEN] no attack, no decay, a held sustain and no release [WHEN] drawn [THEN] a rise at
    // the left edge, a drop to the sustain level and a flat line to the right edge
    void PreviewOfAHeldEnvelopeRunsToTheRightEdge() {
        CEnvelope envelope;
        envelope.attack = 0;
        envelope.decay = 0;
        envelope.sustain = -1;
        envelope.release = -1;
        envelope.attackLevel = 0;
        envelope.sustainLevel = 102; // 2/5 of 255
        const QImage image = GrabPreview(envelope, 1000);
        const int sustainY = (kHeight - 1) - (kHeight - 1) * 102 / 255;
        QCOMPARE(image.pixel(0, 0), kTextColor);
        QCOMPARE(image.pixel(0, kHeight / 4), kTextColor);
        QCOMPARE(image.pixel(kWidth / 2, sustainY), kTextColor);
        QCOMPARE(image.pixel(kWidth - 1, sustainY), kTextColor);
        QVERIFY(image.pixel(kWidth - 1, 0) != kTextColor);
        QVERIFY(image.pixel(kWidth / 2, sustainY - 3) != kTextColor);
    }

private:
    static constexpr int kWidth = 201;
    static constexpr int kHeight = 101;
    static constexpr QRgb kTextColor = 0xFFFF0000;
    static constexpr QRgb kShadowColor = 0xFF0000FF;

    // The drawing area of a preview without its frame, in colours the checks can tell apart.
    static QImage GrabPreview(const CEnvelope& envelope, int span) {
        CEnvelopeWnd preview;
        preview.setFrameStyle(QFrame::NoFrame);
        QPalette palette = preview.palette();
        palette.setColor(QPalette::Base, Qt::white);
        palette.setColor(QPalette::Dark, QColor(kShadowColor));
        palette.setColor(QPalette::Text, QColor(kTextColor));
        preview.setPalette(palette);
        preview.setFixedSize(kWidth, kHeight);
        preview.SetEnvelope(&envelope);
        preview.SetSpan(span);
        return preview.grab().toImage().convertToFormat(QImage::Format_RGB32);
    }
};

QTEST_MAIN(TrackDialogTest)
#include "TrackDialogTest.moc"
