// Random operations through the windows, made as a user makes them and seeded so that a failure
// can be replayed: File > New with switchboards and panels (radial and trunk), "Установка
// щитов", group lines of 2, 3 and 4 conductors, balanced and not, with partly invalid entries,
// the edit window's edits and deletions, File > Save, Save As and File > Open of an earlier save,
// Escape and the close box at random points, every message and every dialog answered at random.
// After every step: no exception reached the standard error box, each panel's counts agree with
// its chains and every window list with the tree, and a refused operation left the bytes File >
// Save would write as they were. After every step the main window is back from, the project
// equals its File > Save and File > Open (taken in a child process, so that the run goes on with
// the project as the step left it), and at the end once more in the run itself.
//
// VELTRANOVA_RANDOM_STEPS sets the steps of each seed, VELTRANOVA_RANDOM_SEEDS the seeds: a list
// ("4,9"; "7," for seed 7 alone) or a count ("20": seeds 1 to 20). A run stops at its first
// failure; with VELTRANOVA_RANDOM_GO_ON=1 it names the failing step and goes on, to gather several
// faults.
#include <QDir>
#include <QTest>
#include <sys/wait.h>
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "EditFixture.h"
#include "ProjectFileDiff.h"
#include "ProjectScript.h"
#include "TreeImage.h"
#include "app/Mainform.h"
#include "app/ProjectFile.h"
#include "documents/AdjustmentProject.h"
#include "editing/EditDialog.h"
#include "editing/Magistral.h"
#include "editing/Shiti12.h"
#include "groups/Dan12.h"
#include "groups/InsertAvtomat.h"
#include "groups/NotSimmetr2F.h"
#include "groups/NotSimmetr3F.h"
#include "model/Chains.h"
#include "platform/Conversions.h"
#include "platform/FileDialogs.h"
#include "platform/Registry.h"
#include "app/PowerSystem.h"

namespace {

using platform::IntToStr;
using platform::mrCancel;
using platform::mrNone;

// The default: a couple of fixed seeds, a few hundred steps in all.
constexpr int kDefaultSteps = 200;
// Seeds that once ran into faults mended since: a refused edit that moved the line, the panels
// or the switchboard, the new-panel remedy's list, an unbalanced line's power, a line refused
// on the new panel made for it.
const std::vector<unsigned> kDefaultSeeds = {1, 28, 66, 170, 273, 293, 297, 412, 1766};
// A seed that meets its fault later than the default steps, and the steps it is run for.
constexpr unsigned kLongSeed = 1766;
constexpr int kLongSeedSteps = 390;

std::vector<unsigned> Seeds() {
    const char* text = std::getenv("VELTRANOVA_RANDOM_SEEDS");
    if (!text || !*text) return kDefaultSeeds;
    const std::string seeds = text;
    std::vector<unsigned> listed;
    if (seeds.find(',') == std::string::npos) {
        const int count = std::atoi(seeds.c_str());
        for (int seed = 1; seed <= count; ++seed) listed.push_back(static_cast<unsigned>(seed));
        return listed;
    }
    std::stringstream in(seeds);
    for (std::string item; std::getline(in, item, ',');)
        if (!item.empty()) listed.push_back(static_cast<unsigned>(std::stoul(item)));
    return listed;
}

bool GoOnAfterFailures() {
    const char* text = std::getenv("VELTRANOVA_RANDOM_GO_ON");
    return text && std::string(text) == "1";
}

int FailuresSoFar() {
    return ::testing::UnitTest::GetInstance()->current_test_info()->result()->total_part_count();
}

int StepsOfEachSeed(unsigned seed) {
    const char* text = std::getenv("VELTRANOVA_RANDOM_STEPS");
    if (text && *text) return std::atoi(text);
    return seed == kLongSeed ? kLongSeedSteps : kDefaultSteps;
}

std::string Quoted(const std::string& text) {
    return "\"" + text + "\"";
}

std::string AnswerName(int answer) {
    switch (answer) {
        case platform::mrOk:
            return "OK";
        case platform::mrYes:
            return "Да";
        case platform::mrNo:
            return "Нет";
        case platform::mrCancel:
            return "Отмена";
        default:
            return IntToStr(answer);
    }
}

// The message of a check that refuses an entry or takes a change back (the deviation limit
// dialog's own warning refuses only what was typed in it).
bool SaysRefused(const std::string& text) {
    if (text == "Введите допустимое отклонение напряжения.") return false;
    // The demand factor raised to what the largest line asks for: the edit goes on with it.
    if (text.rfind("Коэффициент спроса должен быть не меньше", 0) == 0) return false;
    for (const char* part :
         {"отменяется", "существует", "Нет таблиц.", "Откройте таблицу.", "нельзя сохранить",
          "подключен к ВРУ", "Коэффициент мощности не", "Коэффициент спроса"})
        if (text.find(part) != std::string::npos) return true;
    return text.rfind("Введите", 0) == 0 || text.rfind("Интервал температуры", 0) == 0;
}

bool IsNumber(const std::string& text) {
    double value = 0;
    return platform::TryStrToFloat(text, value);
}

bool IsWhole(const std::string& text, int& value) {
    return platform::TryStrToInt(text, value);
}

bool TemperatureInvalid(const std::string& text) {
    int t = 0;
    return !IsWhole(text, t) || t < -5 || t > 50;
}

bool Listed(const std::vector<std::string>& names, const std::string& name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

std::string TextOf(const QLineEdit* edit) {
    return edit->text().toStdString();
}

bool Usable(const QWidget* control) {
    return control->isVisible() && control->isEnabled();
}

// Every record the project file carries an element for: switchboards, panels, group lines.
int RecordCount() {
    if (!ProjectRoot) return 0;
    int count = 0;
    for (const TGrsed* sw : chains::SwitchboardsOf(*ProjectRoot)) {
        ++count;
        for (const TSitid* p : chains::PanelsOf(*sw))
            count += 1 + chains::Length(p->SchemeGroups, chains::SchemeLink{});
    }
    return count;
}

// The bytes of the open project's file as the tree holds it, or why it would be refused.
std::string FileOfTree(std::string& refusal) {
    refusal.clear();
    if (!ProjectRoot) return "";
    projectfile::ProjectFileExtras extras;
    extras.GroupCounter = Dan1->GroupCounter;
    extras.GroupCounterCode = Dan1->GroupCounterCode;
    const TAdjustmentProjectForm& stamp = *AdjustmentProjectForm;
    extras.Stamp = {stamp.DocumentCode, stamp.DevelopedBy, stamp.CheckedBy, stamp.ApprovedBy,
                    stamp.NormControl};
    std::vector<char> bytes;
    refusal = projectfile::BuildProjectFile(*ProjectRoot, extras, bytes);
    return std::string(bytes.begin(), bytes.end());
}

// The bytes File > Save would write for the open project, or why it would refuse: the project
// first settled as the save settles it (while the group line window enters lines, as "закрыть"
// leaves it). While a modal window is open (`inModalWindow`) nothing can be saved, and the
// project is taken as it stands: settling it then would change what that window shows.
std::string SaveBytes(std::string& refusal, bool inModalWindow) {
    refusal.clear();
    if (!ProjectRoot) return "";
    if (!inModalWindow) Dan1->SettleGroupEntry();
    return FileOfTree(refusal);
}

bool WriteAll(int fd, const std::string& text) {
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = write(fd, text.data() + done, text.size() - done);
        if (n <= 0) return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

std::string ReadAll(int fd) {
    std::string text;
    char buffer[4096];
    for (ssize_t n; (n = read(fd, buffer, sizeof buffer)) > 0;)
        text.append(buffer, static_cast<std::size_t>(n));
    return text;
}

// Taken by another element than the one of number `own`.
bool PanelNumberTaken(int number, int own) {
    if (!ProjectRoot || number == own) return false;
    for (const TGrsed* sw : chains::SwitchboardsOf(*ProjectRoot))
        for (const TSitid* p : chains::PanelsOf(*sw))
            if (p->PanelNumber == number) return true;
    return false;
}

bool SwitchboardNumberTaken(int number, int own) {
    if (!ProjectRoot || number == own) return false;
    for (const TGrsed* sw : chains::SwitchboardsOf(*ProjectRoot))
        if (sw->SwitchboardNumber == number) return true;
    return false;
}

}  // namespace

class RandomOperations : public ProjectScriptTest, public ::testing::WithParamInterface<unsigned> {
protected:
    void SetUp() override {
        ProjectScriptTest::SetUp();
        if (HasFatalFailure()) return;
        rng_.seed(GetParam());
        fileCommands_.seed(GetParam() ^ 0x5eed);
        stepsWanted_ = StepsOfEachSeed(GetParam());
        responder_.AnswerFreely([this](const platform::MessageRecord& m) { return Answer(m); },
                                [this](QDialog& d) { return DriveModal(d); });
        responder_.AnswerEvery("TInsertAvtomat", [this](QDialog& d) { return DriveModal(d); });
        platform::SetFileDialogAnswer([this](const platform::FileDialogRequest& request) {
            std::string path;
            if (request.kind == platform::FileDialogKind::Open) {
                // One of the files this run saved, as it is now.
                std::vector<std::string> saved;
                for (const std::string& file : savedFiles_)
                    if (std::filesystem::exists(file)) saved.push_back(file);
                if (!stopped_ && !saved.empty() && Chance(85)) path = OneOf(saved);
            } else if (!stopped_ && Chance(85)) {
                path = ProgramFile("Project") + "/random" + IntToStr(++files_) + ".VPQ";
                savedFiles_.push_back(path);
            }
            Note("file dialog: " + (path.empty() ? std::string("Отмена") : path));
            return path;
        });
        QDir().mkpath(QString::fromStdString(ProgramFile("Project")));
    }

    void TearDown() override {
        stopped_ = true;
        ProjectScriptTest::TearDown();
    }

    // --- Chance ---

    unsigned Pick(std::size_t n) { return n == 0 ? 0 : static_cast<unsigned>(rng_() % n); }
    bool Chance(unsigned percent) { return rng_() % 100 < percent; }
    template <class T>
    T OneOf(const std::vector<T>& items) {
        return items[Pick(items.size())];
    }

    // --- The record of the run ---

    void Note(const std::string& line) {
        CopyResponderLog();
        log_.push_back(std::string(2 * depth_, ' ') + line);
    }

    void CopyResponderLog() {
        const std::vector<ScriptedResponder::Event>& events = responder_.Log();
        for (; seenEvents_ < events.size(); ++seenEvents_) {
            const ScriptedResponder::Event& e = events[seenEvents_];
            if (e.kind != ScriptedResponder::Event::Kind::Message) continue;
            log_.push_back(std::string(2 * depth_ + 2, ' ') + "message " + Quoted(e.message.text) +
                           " -> " + AnswerName(e.answer));
        }
    }

    std::string Replay() const {
        std::ostringstream out;
        out << "seed " << GetParam() << ", step " << step_
            << " (replay: VELTRANOVA_RANDOM_SEEDS=" << GetParam()
            << ", VELTRANOVA_RANDOM_STEPS=" << step_ << ")\nsteps:\n";
        for (const std::string& line : log_) out << line << "\n";
        return out.str();
    }

    // Stops the run at the first failure, with the steps that led to it; or, going on, names
    // the step.
    void StopOnFailure() {
        if (stopped_ || FailuresSoFar() == failuresSeen_) return;
        CopyResponderLog();
        if (goOn_ && ++failedSteps_ < 30) {
            ADD_FAILURE() << "Failed at seed " << GetParam() << ", step " << step_ << ": "
                          << lastStep_;
            failuresSeen_ = FailuresSoFar();
            return;
        }
        stopped_ = true;
        ADD_FAILURE() << "Failed at " << Replay();
    }

    // --- Steps ---

    struct Before {
        std::string bytes;
        int records = 0;
        std::size_t events = 0;
    };
    // Whether the step was refused; a refused step leaves the project as it was.
    using Judge = std::function<bool(const Before&)>;

    static Judge Accepted() {
        return [](const Before&) { return false; };
    }
    static Judge Refused() {
        return [](const Before&) { return true; };
    }
    static Judge RefusedUnlessAdded() {
        return [](const Before& before) { return RecordCount() == before.records; };
    }
    // Refused when a check said so, or when the editor is still open.
    Judge RefusedIfSaid(std::function<bool()> stillOpen) {
        return [this, stillOpen](const Before& before) {
            return (stillOpen && stillOpen()) || RefusalSaid(before.events);
        };
    }

    // An editor's change: refused when the editor stays open (its entries were refused) or the
    // change was taken back ("... отменяется"); a refusal inside the new-panel window it may
    // open (a cable name taken there) leaves the change going on.
    Judge RefusedIfTakenBack(std::function<bool()> stillOpen) {
        return [this, stillOpen](const Before& before) {
            if (stillOpen && stillOpen()) return true;
            const std::vector<ScriptedResponder::Event>& events = responder_.Log();
            for (std::size_t i = before.events; i < events.size(); ++i)
                if (events[i].kind == ScriptedResponder::Event::Kind::Message &&
                    events[i].message.text.find("отменяется") != std::string::npos)
                    return true;
            return false;
        };
    }

    bool RefusalSaid(std::size_t from) const {
        const std::vector<ScriptedResponder::Event>& events = responder_.Log();
        for (std::size_t i = from; i < events.size(); ++i)
            if (events[i].kind == ScriptedResponder::Event::Kind::Message &&
                SaysRefused(events[i].message.text))
                return true;
        return false;
    }
    bool MessageShownSince(std::size_t from) const {
        const std::vector<ScriptedResponder::Event>& events = responder_.Log();
        for (std::size_t i = from; i < events.size(); ++i)
            if (events[i].kind == ScriptedResponder::Event::Kind::Message) return true;
        return false;
    }

    // One step: `act` as the user does it, then the checks. `invalid`: the entries hold a fault
    // that the checks must stop, so the step must be refused.
    void Run(const std::string& what, const Judge& refused, bool invalid,
             const std::function<void()>& act) {
        if (stopped_) return;
        ++step_;
        lastStep_ = what + (invalid ? "  [invalid entry]" : "");
        Note(IntToStr(step_) + ". " + lastStep_);
        Before before;
        std::string refusal;
        before.bytes = SaveBytes(refusal, depth_ > 0);
        before.records = RecordCount();
        before.events = responder_.Log().size();
        messagesInStep_ = 0;
        const bool outerChanged = changedInside_;
        changedInside_ = false;
        ++depth_;
        act();
        --depth_;
        CopyResponderLog();
        const bool innerChanged = changedInside_;
        if (!stopped_) {
            const bool wasRefused = refused(before);
            CheckStep(before, wasRefused && !innerChanged, invalid && !wasRefused);
            if (!wasRefused) changedInside_ = true;
        }
        changedInside_ = changedInside_ || outerChanged || innerChanged;
        StopOnFailure();
    }

    void CheckStep(const Before& before, bool mustBeUnchanged, bool invalidAccepted) {
        if (!ProjectRoot) return;
        if (depth_ == 0)
            ExpectListsAgreeWithTree(Dan1->isVisible());
        else
            ExpectCountsAgreeWithChains();
        std::string refusal;
        const std::string after = SaveBytes(refusal, depth_ > 0);
        fileAfterEachStep_.push_back({lastStep_, after});
        EXPECT_EQ(refusal, "") << "File > Save would refuse the project";
        if (mustBeUnchanged && refusal.empty() && after != before.bytes)
            ADD_FAILURE() << "A refused operation changed the file:\n"
                          << ProjectFileDifferences(after, before.bytes, 20);
        if (invalidAccepted) ADD_FAILURE() << "An invalid entry was accepted";
        // Back in the main window the user may save and open the file again.
        if (depth_ == 0 && refusal.empty()) {
            const std::string changes = ReopeningChanges(after);
            if (!changes.empty())
                ADD_FAILURE() << "The project differs from its File > Save and File > Open:\n"
                              << changes;
        }
    }

    // What File > Save and File > Open of the project change, taken in a child process: the run
    // goes on with the project as the step left it, not as the opening leaves it. `bytes`: what
    // File > Save writes now. The program's few worker threads are joined before any command
    // returns, so that the child is forked from this thread alone.
    std::string ReopeningChanges(const std::string& bytes) {
        std::fflush(nullptr);
        int channel[2];
        if (pipe(channel) != 0) return "no pipe to a child";
        const pid_t child = fork();
        if (child < 0) {
            close(channel[0]);
            close(channel[1]);
            return "no child";
        }
        if (child == 0) {
            // The child never returns into the test: whatever happens, it ends here.
            close(channel[0]);
            bool written = false;
            try {
                written = WriteAll(channel[1], ReopenedHere(bytes));
            } catch (const std::exception& e) {
                WriteAll(channel[1], std::string("the opening threw: ") + e.what() + "\n");
            } catch (...) {
                WriteAll(channel[1], "the opening threw\n");
            }
            _exit(written ? 0 : 1);
        }
        close(channel[1]);
        std::string changes = ReadAll(channel[0]);
        close(channel[0]);
        int status = 0;
        if (waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
            changes += "the child opening the file ended abnormally (status " +
                       IntToStr(status) + ")";
        return changes;
    }

    // In the child: the bytes written as File > Save writes them, opened as File > Open opens
    // them, every value of the tree and then the file compared with those before.
    std::string ReopenedHere(const std::string& bytes) {
        platform::SetSettingsFile(settingsDir_.filePath("reopening.ini").toStdString());
        const std::string path = settingsDir_.filePath("reopening.VPQ").toStdString();
        std::ofstream(path, std::ios::binary) << bytes;
        const TreeImage built = ReopeningImage(*ProjectRoot);
        const std::size_t events = responder_.Log().size();
        stopped_ = true;  // every message the opening shows is declined
        const bool opened = Form1->LoadProject(path);
        std::string changes;
        const std::vector<ScriptedResponder::Event>& log = responder_.Log();
        for (std::size_t i = events; i < log.size(); ++i)
            if (log[i].kind == ScriptedResponder::Event::Kind::Message)
                changes += "File > Open said " + Quoted(log[i].message.text) + "\n";
        if (!opened || !ProjectRoot) return changes + "File > Open refused the file\n";
        changes += ReopeningDifferences(built, ReopeningImage(*ProjectRoot));
        if (!changes.empty()) return changes;
        std::string refusal;
        const std::string reopened = FileOfTree(refusal);
        if (reopened != bytes) changes = ProjectFileDifferences(reopened, bytes, 20);
        return changes;
    }

    // --- The user's answers ---

    int Answer(const platform::MessageRecord& message) {
        if (++messagesInStep_ > 400) {
            // A message that comes back whatever the answer: the program would never let go.
            std::cerr << "Messages without end: " << Quoted(message.text) << "\n" << Replay();
            std::abort();
        }
        if (messagesInStep_ == 60) ADD_FAILURE() << "Messages repeat: " << Quoted(message.text);
        const std::vector<int> answers = ScriptedResponder::AnswersOf(message.buttons);
        // After many messages in one step, the answer that declines.
        if (messagesInStep_ >= 60 || stopped_) return answers.back();
        return OneOf(answers);
    }

    void Escape(QWidget& window) { QTest::keyClick(&window, Qt::Key_Escape); }
    // The window manager's close box.
    static bool HasCloseBox(const QWidget& window) {
        const Qt::WindowFlags flags = window.windowFlags();
        return !(flags & Qt::CustomizeWindowHint) || (flags & Qt::WindowCloseButtonHint);
    }
    void CloseBox(QWidget& window) { window.close(); }

    // Escape or the close box, as the window offers them.
    std::string LeaveAtRandom(QWidget& window) {
        if (!HasCloseBox(window) || Chance(50)) {
            Escape(window);
            return "Escape";
        }
        CloseBox(window);
        return "close box";
    }

    // The user's hands, as far as the control lets them.
    std::string TypeInto(QLineEdit* edit, const std::string& text) {
        if (!Usable(edit)) return "";
        Type(edit, text);
        return " " + edit->objectName().toStdString() + "=" + Quoted(TextOf(edit));
    }
    std::string ChooseAny(QComboBox* list, unsigned skipPercent = 5) {
        if (!Usable(list) || list->count() == 0 || Chance(skipPercent)) return "";
        const std::string item =
            list->itemText(static_cast<int>(Pick(list->count()))).toStdString();
        Choose(list, item);
        return " " + list->objectName().toStdString() + "=" + Quoted(item);
    }
    std::string Press(QAbstractButton* button) {
        if (!Usable(button)) return " (" + button->text().toStdString() + " not usable)";
        Click(button);
        return "";
    }

    // --- Entries, mostly valid ---

    std::string Fresh(const std::string& prefix) { return prefix + IntToStr(++fresh_); }
    std::string NameText(const std::string& prefix, const std::vector<std::string>& taken) {
        if (Chance(6)) return "";
        if (!taken.empty() && Chance(8)) return OneOf(taken);
        return Fresh(prefix);
    }
    std::string LengthText() {
        const unsigned r = Pick(100);
        if (r < 4) return "";
        if (r < 7) return "дл";
        if (r < 10) return "-" + IntToStr(1 + static_cast<int>(Pick(50)));
        if (r < 13) return "90000";
        if (r < 16) return "12,5";
        return IntToStr(1 + static_cast<int>(Pick(120)));
    }
    std::string PowerText() {
        const unsigned r = Pick(100);
        if (r < 3) return "";
        if (r < 6) return "кВт";
        if (r < 9) return "0";
        if (r < 11) return "-3";
        if (r < 14) return "5000";
        if (r < 17) return "150";
        return IntToStr(static_cast<int>(Pick(25))) + "," + IntToStr(1 + static_cast<int>(Pick(9)));
    }
    std::string CosText() {
        if (Chance(88)) return OneOf<std::string>({"1", "0,9", "0,8", "0,7", "0,6", "0,5"});
        return OneOf<std::string>({"", "1,2", "0", "а", "-0,5"});
    }
    std::string TemperatureText(const std::string& usual) {
        if (Chance(85)) return usual;
        return OneOf<std::string>({"", "t", "51", "-6", "50", "-5", "20,5"});
    }
    std::string NumberText(const std::function<bool(int)>& taken) {
        const unsigned r = Pick(100);
        if (r < 4) return "";
        if (r < 7) return "№";
        if (r < 9) return "0";
        if (r < 14) {
            for (int n = 1; n < 40; ++n)
                if (taken(n)) return IntToStr(n);
        }
        for (int tries = 0; tries < 50; ++tries) {
            const int n = 1 + static_cast<int>(Pick(30));
            if (!taken(n)) return IntToStr(n);
        }
        return IntToStr(100 + fresh_++);
    }
    std::string DemandText() {
        if (Chance(85)) return OneOf<std::string>({"1", "0,9", "0,8", "0,7", "0,5"});
        return OneOf<std::string>({"", "к", "1,5", "0", "-0,5"});
    }
    std::string PhasePowerText() {
        if (Chance(85))
            return IntToStr(static_cast<int>(Pick(8))) + "," +
                   IntToStr(1 + static_cast<int>(Pick(9)));
        return OneOf<std::string>({"", "x", "0", "-1"});
    }

    // --- Modal windows ---

    int DriveModal(QDialog& dialog) {
        const std::string kind = dialog.metaObject()->className();
        Note("window " + kind + " " + Quoted(dialog.windowTitle().toStdString()));
        if (stopped_) {
            dialog.hide();
            return mrCancel;
        }
        dialog.show();
        ++depth_;
        if (kind == "TShiti" && Shiti->CurrentLayout() == TShiti::Layout::Connection)
            DriveConnectionWindow();
        else if (kind == "TShiti")
            DriveNewPanelWindow();
        else if (kind == "TFormMagistral")
            DriveTrunkDialog();
        else if (kind == "TPowerSystem")
            DrivePowerSystem();
        else if (kind == "TInsertAvtomat")
            DriveBreakerDialog();
        else if (kind == "TNotSimmetr_2F")
            DriveUnbalanced(dialog, {NotSimmetr_2F->Edit1, NotSimmetr_2F->Edit2},
                            {NotSimmetr_2F->Edit3, NotSimmetr_2F->Edit4}, NotSimmetr_2F->Button1);
        else if (kind == "TNotSimmetr_3F")
            DriveUnbalanced(dialog,
                            {NotSimmetr_3F->Edit1, NotSimmetr_3F->Edit2, NotSimmetr_3F->Edit3},
                            {NotSimmetr_3F->Edit4, NotSimmetr_3F->Edit5, NotSimmetr_3F->Edit6},
                            NotSimmetr_3F->Button1);
        else if (Dan1->DeviationForm.data() == &dialog)
            DriveDeviationDialog(dialog);
        else
            Note("  " + LeaveAtRandom(dialog));
        --depth_;
        if (dialog.isVisible()) {
            if (!stopped_) ADD_FAILURE() << "The window " << kind << " cannot be left";
            dialog.hide();
            StopOnFailure();
        }
        return mrNone;
    }

    // The connection window of File > New and "Установка щитов": a few connections, then
    // "Закрыть", Escape or the close box.
    void DriveConnectionWindow() {
        const int connections = 2 + static_cast<int>(Pick(7));
        for (int i = 0; i < connections && !stopped_; ++i) {
            const bool anySwitchboard = Shiti->ComboBox2->count() > 0;
            if (!anySwitchboard || Chance(20))
                ConnectSwitchboardAtRandom();
            else
                ConnectPanelAtRandom();
        }
        const unsigned r = Pick(100);
        const std::string how = r < 80 ? "Закрыть" : r < 90 ? "Escape" : "close box";
        Run("connection window: " + how, Accepted(), false, [&] {
            if (how == "Закрыть")
                Press(Shiti->Button1);
            else if (how == "Escape")
                Escape(*Shiti);
            else
                CloseBox(*Shiti);
        });
    }

    void ConnectSwitchboardAtRandom() {
        std::string entered;
        if (!Shiti->RadioButton1->isChecked()) Click(Shiti->RadioButton1);
        entered += TypeInto(Shiti->Edit2, NumberText([](int n) {
                                return SwitchboardNumberTaken(n, INT_MIN) ||
                                       Listed(Items(*Shiti->ComboBox2), IntToStr(n));
                            }));
        entered += TypeInto(Shiti->Edit3, LengthText());
        entered += ChooseAny(Shiti->ComboBox4);
        entered += ChooseAny(Shiti->ComboBox1);
        entered += TypeInto(Shiti->Edit6, TemperatureText("15"));
        entered += TypeInto(Shiti->Edit7, NameText("КГ", Shiti->CableNames));
        int number = 0;
        const std::string numberText = TextOf(Shiti->Edit2);
        const bool invalid = !IsWhole(numberText, number) || number == 0 ||
                             SwitchboardNumberTaken(number, INT_MIN) ||
                             Listed(Items(*Shiti->ComboBox2), numberText) ||
                             Shiti->ComboBox1->currentIndex() < 0 ||
                             TemperatureInvalid(TextOf(Shiti->Edit6)) ||
                             LengthInvalid(Shiti->Edit3) || CableInvalid(TextOf(Shiti->Edit7), "");
        Run("switchboard:" + entered + ", Соединить", RefusedUnlessAdded(), invalid,
            [&] { Press(Shiti->Button2); });
    }

    void ConnectPanelAtRandom() {
        std::string entered;
        if (!Shiti->RadioButton2->isChecked()) Click(Shiti->RadioButton2);
        entered += ChooseAny(Shiti->ComboBox2);
        entered +=
            TypeInto(Shiti->Edit1, NumberText([](int n) { return PanelNumberTaken(n, INT_MIN); }));
        entered += TypeInto(Shiti->Edit4, LengthText());
        if (Usable(Shiti->RadioGroup1Item1) && Chance(30)) {
            entered += " Магистральная";
            Note("panel: Магистральная");
            Click(Shiti->RadioGroup1Item1);
        }
        entered += ChooseAny(Shiti->ComboBox5);
        entered += ChooseAny(Shiti->ComboBox3);
        entered += TypeInto(Shiti->Edit5, TemperatureText("25"));
        entered += TypeInto(Shiti->Edit8, NameText("КЩ", Shiti->CableNames));
        int number = 0;
        const bool invalid =
            !IsWhole(TextOf(Shiti->Edit1), number) || number == 0 ||
            PanelNumberTaken(number, INT_MIN) || Shiti->ComboBox2->currentIndex() < 0 ||
            Shiti->ComboBox3->currentIndex() < 0 || TemperatureInvalid(TextOf(Shiti->Edit5)) ||
            LengthInvalid(Shiti->Edit4) || CableInvalid(TextOf(Shiti->Edit8), "");
        Run("panel:" + entered + ", Соединить", RefusedUnlessAdded(), invalid,
            [&] { Press(Shiti->Button4); });
    }

    static bool LengthInvalid(const QLineEdit* edit) {
        const std::string text = TextOf(edit);
        return text.empty() || !IsNumber(text);
    }
    static bool CableInvalid(const std::string& name, const std::string& own) {
        return name.empty() || (name != own && Listed(Shiti->CableNames, name));
    }

    // The reduced connection window of the new-panel remedy.
    void DriveNewPanelWindow() {
        for (int attempt = 0; attempt < 3 && Shiti->isVisible() && !stopped_; ++attempt) {
            if (Chance(20)) break;
            std::string entered;
            entered += TypeInto(Shiti->Edit1,
                                NumberText([](int n) { return PanelNumberTaken(n, INT_MIN); }));
            entered += ChooseAny(Shiti->ComboBox5, 60);
            entered += ChooseAny(Shiti->ComboBox3, 60);
            entered += TypeInto(Shiti->Edit8, NameText("КЩ", Shiti->CableNames));
            Note("new panel:" + entered + ", Соединить");
            Press(Shiti->Button4);
        }
        if (Shiti->isVisible()) Note(LeaveAtRandom(*Shiti));
        if (Shiti->isVisible()) CloseBox(*Shiti);
    }

    void DriveTrunkDialog() {
        TFormMagistral& d = *FormMagistral;
        for (int attempt = 0; attempt < 4 && d.isVisible() && !stopped_; ++attempt) {
            if (attempt < 3 && Chance(15)) {
                Note(LeaveAtRandom(d));
                continue;
            }
            std::string entered = ChooseAny(d.ComboBox1, attempt < 3 ? 10 : 0);
            if (Usable(d.RadioGroup1Item0) && Chance(50)) {
                QAbstractButton* cable = Chance(50) ? d.RadioGroup1Item0 : d.RadioGroup1Item1;
                Click(cable);
                entered += " " + cable->text().toStdString();
            }
            Note("trunk:" + entered + ", OK");
            Press(d.Button1);
        }
        if (d.isVisible()) Escape(d);
    }

    void DrivePowerSystem() {
        TPowerSystem& d = *PowerSystem;
        for (int attempt = 0; attempt < 4 && d.isVisible() && !stopped_; ++attempt) {
            std::string entered;
            if (Chance(50)) entered += ChooseAny(d.ComboBox5, 0);
            if (Chance(15))
                entered +=
                    TypeInto(d.Edit1, Chance(70) ? OneOf<std::string>({"180", "50", "500", "20"})
                                                 : OneOf<std::string>({"", "мва", "0", "-5"}));
            const unsigned r = attempt == 3 ? 99 : Pick(100);
            if (r < 80) {
                Run("power system:" + entered + ", Применить",
                    RefusedIfSaid([&d] { return d.isVisible(); }), false,
                    [&] { Press(d.Button1); });
            } else {
                const std::string how = r < 90 ? "отмена" : "Escape";
                Run("power system:" + entered + ", " + how, Refused(), false, [&] {
                    if (how == "отмена")
                        Press(d.Button2);
                    else
                        Escape(d);
                });
            }
        }
    }

    void DriveBreakerDialog() {
        TInsertAvtomat& d = *InsertAvtomat;
        for (int attempt = 0; attempt < 4 && d.isVisible() && !stopped_; ++attempt) {
            if (attempt < 3 && Chance(4)) {
                Note("breaker " + Quoted(d.GroupBox1->title().toStdString()) + ": " +
                     LeaveAtRandom(d));
                continue;
            }
            std::string entered = ChooseAny(d.ComboBox1, attempt < 3 ? 5 : 0);
            Note("breaker " + Quoted(d.GroupBox1->title().toStdString()) + ":" + entered +
                 ", Установить");
            Press(d.Button2);
        }
    }

    void DriveUnbalanced(QDialog& dialog, const std::vector<QLineEdit*>& powers,
                         const std::vector<QLineEdit*>& cosines, QAbstractButton* ok) {
        for (int attempt = 0; attempt < 5 && dialog.isVisible() && !stopped_; ++attempt) {
            if (attempt == 1 && Chance(20)) {
                Note("per phase: " + LeaveAtRandom(dialog));
                continue;
            }
            const bool sure = attempt >= 3;
            std::string entered;
            for (QLineEdit* edit : powers)
                entered += TypeInto(edit, sure ? "1,5" : PhasePowerText());
            for (QLineEdit* edit : cosines) entered += TypeInto(edit, sure ? "0,9" : CosText());
            Note("per phase:" + entered + ", Ok");
            Press(ok);
        }
    }

    void DriveDeviationDialog(QDialog& dialog) {
        for (int attempt = 0; attempt < 4 && dialog.isVisible() && !stopped_; ++attempt) {
            if (attempt < 3 && Chance(15)) {
                Note("deviation limit: " + LeaveAtRandom(dialog));
                continue;
            }
            const std::string limit = attempt < 3 && Chance(15)
                                          ? OneOf<std::string>({"", "x"})
                                          : OneOf<std::string>({"-2,5", "-4", "3", "5", "-1"});
            Note("deviation limit:" + TypeInto(Dan1->DeviationEdit, limit) + ", Ok");
            Press(Dan1->DeviationButton);
        }
    }

    // --- Windows the main window leaves open ---

    bool GroupEditorShown() const { return Dan1->isVisible() && Form3->GroupEditMode; }
    bool ConnectionEditorShown() const {
        return Shiti->isVisible() && (Shiti->CurrentLayout() == TShiti::Layout::PanelEdit ||
                                      Shiti->CurrentLayout() == TShiti::Layout::SwitchboardEdit);
    }

    void NextStep() {
        if (!ProjectRoot)
            NewProjectStep();
        else if (GroupEditorShown())
            GroupEditorStep();
        else if (Dan1->isVisible())
            GroupLineStep();
        else if (ConnectionEditorShown() && Shiti->CurrentLayout() == TShiti::Layout::PanelEdit)
            PanelEditorStep();
        else if (ConnectionEditorShown())
            SwitchboardEditorStep();
        else if (Form3->isVisible())
            EditWindowStep();
        else
            MainMenuStep();
    }

    void NewProjectStep() {
        Run("File > New", Accepted(), false, [] { Form1->New1->trigger(); });
    }

    void MainMenuStep() {
        const unsigned r = Pick(100);
        if (r < 4) return NewProjectStep();
        if (r < 16) return Run("Установка щитов", Accepted(), false, [] { Form1->N21->trigger(); });
        if (r < 55)
            return Run("Подключение групп", Refused(), false, [] { Form1->N11->trigger(); });
        if (r < 72)
            return Run("Редактирование > Группы", Refused(), false, [] { Form1->N25->trigger(); });
        if (r < 85)
            return Run("Редактирование > Щиты", Refused(), false, [] { Form1->N4->trigger(); });
        if (r < 94)
            return Run("Редактирование > Грщ", Refused(), false, [] { Form1->N30->trigger(); });
        // Which of the file commands: drawn apart, so that a run goes as it went before these
        // commands came in until the first of them.
        const unsigned f = fileCommands_() % 100;
        FileCommandStep(f);
    }

    // File > Save (f below 50), Save As (below 75) or Open.
    void FileCommandStep(unsigned f) {
        if (f < 50) return Run("File > Save", Accepted(), false, [] { Form1->Save1->trigger(); });
        if (f < 75)
            return Run("File > Save As", Accepted(), false, [] { Form1->SaveAs->trigger(); });
        Run("File > Open", Accepted(), false, [] { Form1->Open1->trigger(); });
    }

    // The group line window entering new lines.
    void GroupLineStep() {
        TDan1& d = *Dan1;
        // The main window's commands while the window stays open beside it: the file commands
        // mostly, now and then any other.
        const unsigned f = fileCommands_() % 100;
        if (f < 6) return FileCommandStep(f * 100 / 6);
        if (f < 9) return MainMenuStep();
        const unsigned r = Pick(100);
        if (r >= 84) {
            const std::string how = r < 90 ? "закрыть" : r < 95 ? "Escape" : "close box";
            return Run("group lines: " + how, Accepted(), false, [&] {
                if (how == "закрыть")
                    Press(d.ok);
                else if (how == "Escape")
                    Escape(d);
                else
                    CloseBox(d);
            });
        }
        std::string entered;
        entered += ChooseAny(d.ComboBox2);
        entered += ChooseAny(d.ComboBox1);
        entered += TypeInto(d.Edit4, LengthText());
        if (Usable(d.RadioButton2) && Chance(30)) {
            // Already chosen, the choice opens no per-phase dialog.
            const std::string again = d.RadioButton2->isChecked() ? " (already chosen)" : "";
            Note("group line: Несимметричная" + again);
            entered += " Несимметричная" + again;
            Click(d.RadioButton2);
        } else if (d.RadioButton2->isChecked() && Usable(d.RadioButton1)) {
            entered += " Симметричная";
            Click(d.RadioButton1);
        }
        entered += TypeInto(d.Edit2, PowerText());
        entered += TypeInto(d.Edit1, CosText());
        entered += TypeInto(d.Edit6, NameText("Л", d.GroupNames));
        entered += TypeInto(d.Edit5, TemperatureText("25"));
        entered += ChooseAny(d.ComboBox3);
        entered += ChooseAny(d.ComboBox4);
        entered += TypeInto(d.Edit7, NameText("К", Shiti->CableNames));
        const bool invalid = d.ComboBox2->currentIndex() < 0 || LineEntriesInvalid("", "");
        const std::size_t from = responder_.Log().size();
        Run("group line:" + entered + ", Применить", RefusedUnlessAdded(), invalid, [&] {
            Press(d.sledychi);
            if (invalid && !stopped_ && d.ComboBox2->currentIndex() >= 0) {
                // The user is told why, and the window stays for the next try.
                EXPECT_TRUE(MessageShownSince(from))
                    << "An invalid line was refused without a word";
                EXPECT_TRUE(d.isVisible()) << "The group line window closed on an invalid line";
            }
        });
    }

    // The checks of a group line's entries that need no calculation; `ownName` and `ownCable`
    // are the edited line's own.
    bool LineEntriesInvalid(const std::string& ownName, const std::string& ownCable) const {
        const TDan1& d = *Dan1;
        double cosPhi = 0;
        double power = 0;
        int length = 0;
        const std::string name = TextOf(d.Edit6);
        const bool cosInvalid =
            !platform::TryStrToFloat(TextOf(d.Edit1), cosPhi) || cosPhi > 1 || cosPhi <= 0;
        // A negative power is no load: refused like none. An unbalanced line of three or four
        // conductors has the power of its phases, which their dialog checks, whatever is typed.
        const bool unbalanced = d.RadioButton2->isChecked() && d.ComboBox1->currentIndex() > 0;
        const bool powerInvalid =
            !unbalanced && (!platform::TryStrToFloat(TextOf(d.Edit2), power) || power <= 0);
        return d.ComboBox1->currentIndex() < 0 || cosInvalid || !IsWhole(TextOf(d.Edit4), length) ||
               TemperatureInvalid(TextOf(d.Edit5)) || powerInvalid ||
               d.ComboBox3->currentIndex() < 0 || d.ComboBox4->currentIndex() < 0 || name.empty() ||
               (name != ownName && Listed(d.GroupNames, name)) ||
               CableInvalid(TextOf(d.Edit7), ownCable);
    }

    // The edit window: a choice in its lists, then one of its buttons, Escape or the close box.
    void EditWindowStep() {
        TForm3& f = *Form3;
        std::string chosen = ChooseAny(f.ComboBox4, 3);
        if (Usable(f.ComboBox3)) chosen += ChooseAny(f.ComboBox3, 3);
        const std::string window = f.windowTitle().toStdString();
        const unsigned r = Pick(100);
        if (r < 55) {
            Run(window + ":" + chosen + ", Изменить", Refused(), false, [&] {
                Press(f.Button5);
                RememberEdited();
            });
        } else if (r < 72) {
            Run(window + ":" + chosen + ", Удалить", Accepted(), false, [&] { Press(f.Button3); });
        } else {
            const std::string how = r < 85 ? "Закрыть" : r < 93 ? "Escape" : "close box";
            Run(window + ":" + chosen + ", " + how, Refused(), false, [&] {
                if (how == "Закрыть")
                    Press(f.Button4);
                else if (how == "Escape")
                    Escape(f);
                else
                    CloseBox(f);
            });
        }
    }

    // The edited element's own number and names, which the edit may keep.
    void RememberEdited() {
        ownName_ = TextOf(Dan1->Edit6);
        ownCable_ = GroupEditorShown() ? TextOf(Dan1->Edit7) : "";
        ownPanel_ = INT_MIN;
        ownSwitchboard_ = INT_MIN;
        if (!ConnectionEditorShown()) return;
        if (Shiti->CurrentLayout() == TShiti::Layout::PanelEdit) {
            ownPanel_ = Form3->SavedPanel ? Form3->SavedPanel->PanelNumber : INT_MIN;
            ownCable_ = TextOf(Shiti->Edit8);
        } else {
            ownSwitchboard_ =
                Form3->SavedSwitchboard ? Form3->SavedSwitchboard->SwitchboardNumber : INT_MIN;
            ownCable_ = TextOf(Shiti->Edit7);
        }
    }

    // How an editor is left: mostly its "Изменить", else its "Отменить", Escape or the close
    // box.
    template <class Change>
    void LeaveEditor(const std::string& editor, const std::string& entered, bool invalid,
                     QAbstractButton* apply, QAbstractButton* cancel, QWidget& window,
                     Change stillOpen) {
        const unsigned r = Pick(100);
        if (r < 72)
            return Run(editor + ":" + entered + ", Изменить", RefusedIfTakenBack(stillOpen),
                       invalid, [&] { Press(apply); });
        const std::string how = r < 84   ? cancel->text().toStdString()
                                : r < 92 ? "Escape"
                                         : "close box";
        Run(editor + ":" + entered + ", " + how, Refused(), false, [&] {
            if (r < 84)
                Press(cancel);
            else if (r < 92)
                Escape(window);
            else
                CloseBox(window);
        });
    }

    void GroupEditorStep() {
        TDan1& d = *Dan1;
        std::string entered;
        if (Chance(10)) entered += ChooseAny(d.ComboBox1, 0);
        if (Chance(30)) entered += TypeInto(d.Edit4, LengthText());
        if (Usable(d.RadioButton2) && Chance(15)) {
            // Already chosen, the choice opens no per-phase dialog.
            const std::string again = d.RadioButton2->isChecked() ? " (already chosen)" : "";
            Note("group editor: Несимметричная" + again);
            entered += " Несимметричная" + again;
            Click(d.RadioButton2);
        } else if (Usable(d.RadioButton1) && d.RadioButton2->isChecked() && Chance(15)) {
            entered += " Симметричная";
            Click(d.RadioButton1);
        }
        if (Chance(35)) entered += TypeInto(d.Edit2, PowerText());
        if (Chance(20)) entered += TypeInto(d.Edit1, CosText());
        if (Chance(20)) entered += TypeInto(d.Edit6, NameText("Л", d.GroupNames));
        if (Chance(10)) entered += TypeInto(d.Edit5, TemperatureText("25"));
        if (Chance(15) || d.ComboBox3->currentIndex() < 0) entered += ChooseAny(d.ComboBox3);
        if (Chance(15) || d.ComboBox4->currentIndex() < 0) entered += ChooseAny(d.ComboBox4);
        if (Chance(20)) entered += TypeInto(d.Edit7, NameText("К", Shiti->CableNames));
        const bool invalid = LineEntriesInvalid(ownName_, ownCable_);
        LeaveEditor("group editor", entered, invalid, d.cancel, d.Button1, d,
                    [this] { return GroupEditorShown(); });
    }

    void PanelEditorStep() {
        TShiti& s = *Shiti;
        std::string entered;
        if (Chance(25))
            entered += TypeInto(
                s.Edit1, NumberText([this](int n) { return PanelNumberTaken(n, ownPanel_); }));
        if (Chance(30)) entered += TypeInto(s.Edit4, LengthText());
        if (Chance(30)) entered += TypeInto(s.Edit9, DemandText());
        if (Chance(15)) entered += ChooseAny(s.ComboBox5);
        if (Chance(15) || s.ComboBox3->currentIndex() < 0) entered += ChooseAny(s.ComboBox3);
        if (Chance(10)) entered += TypeInto(s.Edit5, TemperatureText("25"));
        if (Chance(20)) entered += TypeInto(s.Edit8, NameText("КЩ", s.CableNames));
        int number = 0;
        double factor = 0;
        const std::string length = TextOf(s.Edit4);
        const bool invalid =
            LengthInvalid(s.Edit4) || length == "0" ||
            !platform::TryStrToFloat(TextOf(s.Edit9), factor) || factor > 1 || factor <= 0 ||
            s.ComboBox3->currentIndex() < 0 || !IsWhole(TextOf(s.Edit1), number) || number == 0 ||
            PanelNumberTaken(number, ownPanel_) || TemperatureInvalid(TextOf(s.Edit5)) ||
            CableInvalid(TextOf(s.Edit8), ownCable_);
        LeaveEditor("panel editor", entered, invalid, s.Button6, s.Button5, s,
                    [this] { return ConnectionEditorShown(); });
    }

    void SwitchboardEditorStep() {
        TShiti& s = *Shiti;
        std::string entered;
        if (Chance(25))
            entered += TypeInto(s.Edit2, NumberText([this](int n) {
                                    return SwitchboardNumberTaken(n, ownSwitchboard_);
                                }));
        if (Chance(30)) entered += TypeInto(s.Edit3, LengthText());
        if (Chance(15)) entered += ChooseAny(s.ComboBox4);
        if (Chance(15) || s.ComboBox1->currentIndex() < 0) entered += ChooseAny(s.ComboBox1);
        if (Chance(10)) entered += TypeInto(s.Edit6, TemperatureText("15"));
        if (Chance(20)) entered += TypeInto(s.Edit7, NameText("КГ", s.CableNames));
        int number = 0;
        const bool invalid = LengthInvalid(s.Edit3) || !IsWhole(TextOf(s.Edit2), number) ||
                             number == 0 || SwitchboardNumberTaken(number, ownSwitchboard_) ||
                             TemperatureInvalid(TextOf(s.Edit6)) ||
                             s.ComboBox1->currentIndex() < 0 ||
                             CableInvalid(TextOf(s.Edit7), ownCable_);
        LeaveEditor("switchboard editor", entered, invalid, s.Button7, s.Button3, s,
                    [this] { return ConnectionEditorShown(); });
    }

    // The windows left open are closed as the user closes them before the last save.
    void CloseOpenWindows() {
        for (int i = 0; i < 6 && !stopped_; ++i) {
            if (GroupEditorShown())
                Run("group editor: Отменa", Refused(), false, [] { Click(Dan1->Button1); });
            else if (Dan1->isVisible())
                Run("group lines: закрыть", Accepted(), false, [] { Click(Dan1->ok); });
            else if (ConnectionEditorShown())
                Run("editor: Отменить", Refused(), false, [] {
                    Click(Shiti->CurrentLayout() == TShiti::Layout::PanelEdit ? Shiti->Button5
                                                                              : Shiti->Button3);
                });
            else if (Form3->isVisible())
                Run("edit window: Закрыть", Refused(), false, [] { Click(Form3->Button4); });
            else
                return;
        }
    }

    std::mt19937 rng_;
    std::mt19937 fileCommands_;
    int stepsWanted_ = 0;
    int step_ = 0;
    int depth_ = 0;
    int fresh_ = 0;
    int files_ = 0;
    // The files this run's save dialogs were answered with.
    std::vector<std::string> savedFiles_;
    int messagesInStep_ = 0;
    bool stopped_ = false;
    const bool goOn_ = GoOnAfterFailures();
    int failuresSeen_ = 0;
    int failedSteps_ = 0;
    std::string lastStep_;
    bool changedInside_ = false;
    std::size_t seenEvents_ = 0;
    std::vector<std::string> log_;
    std::string ownName_;
    std::string ownCable_;
    int ownPanel_ = INT_MIN;
    int ownSwitchboard_ = INT_MIN;
    // The step and the bytes File > Save would write after it, for each step.
    struct FileAfterStep {
        std::string step;
        std::string bytes;
    };
    std::vector<FileAfterStep> fileAfterEachStep_;

    // The run made again from its first step, with the same seed, on a fresh application.
    void StartAgain() {
        TearDown();
        SetUp();
        step_ = depth_ = fresh_ = files_ = messagesInStep_ = failedSteps_ = 0;
        stopped_ = changedInside_ = false;
        failuresSeen_ = FailuresSoFar();
        lastStep_.clear();
        seenEvents_ = responder_.Log().size();
        log_.clear();
        ownName_.clear();
        ownCable_.clear();
        ownPanel_ = ownSwitchboard_ = INT_MIN;
        fileAfterEachStep_.clear();
        savedFiles_.clear();
    }

public:
    void RunAll() {
        while (step_ < stepsWanted_ && !stopped_) NextStep();
        CloseOpenWindows();
        if (goOn_ && failedSteps_ > 0 && !stopped_) ADD_FAILURE() << "All " << Replay();
        if (stopped_ || !ProjectRoot) return;
        Note("save as, open again");
        const std::string differences = DifferencesAfterReopening("reopened.VPQ");
        EXPECT_EQ(differences, "") << "The project differs from its save-and-reopen"
                                   << (goOn_ ? "\nafter " + Replay() : "");
        StopOnFailure();
    }
};

TEST_P(RandomOperations, KeepTheProjectWhole) {
    RunAll();
}

INSTANTIATE_TEST_SUITE_P(Seeds, RandomOperations, ::testing::ValuesIn(Seeds()),
                         [](const ::testing::TestParamInfo<unsigned>& info) {
                             return "seed" + std::to_string(info.param);
                         });

// The same seeded run twice: once the way every refresh selected every switchboard and every
// lookup read its table, once as the program runs now, leaving alone what a change did not
// reach and keeping what a pass read. The file File > Save would write is the same after every
// step.
class FasterPathOfRandomOperations : public RandomOperations {
protected:
    void TearDown() override {
        UseFasterPath(true);
        RandomOperations::TearDown();
    }
};

TEST_P(FasterPathOfRandomOperations, GivesTheFilesOfTheFullPath) {
    UseFasterPath(false);
    RunAll();
    const std::vector<FileAfterStep> full = fileAfterEachStep_;
    ASSERT_FALSE(HasFailure());
    ASSERT_TRUE(ProjectRoot);
    const TreeImage fullTree = ImageOf(*ProjectRoot);
    StartAgain();
    UseFasterPath(true);
    RunAll();
    const std::vector<FileAfterStep>& faster = fileAfterEachStep_;
    ASSERT_EQ(faster.size(), full.size());
    for (std::size_t i = 0; i < full.size(); ++i)
        ASSERT_EQ(ProjectFileDifferences(faster[i].bytes, full[i].bytes, 20), "")
            << "the files differ after check " << i + 1 << " of seed " << GetParam() << ", "
            << full[i].step;
    // The reopened project at the end, every value of its tree.
    ASSERT_TRUE(ProjectRoot);
    EXPECT_EQ(DifferencesText(fullTree, ImageOf(*ProjectRoot)), "");
}

// Seeds whose runs change, delete and refuse in projects of several switchboards, unless
// VELTRANOVA_RANDOM_SEEDS names others.
std::vector<unsigned> FasterPathSeeds() {
    const char* text = std::getenv("VELTRANOVA_RANDOM_SEEDS");
    if (text && *text) return Seeds();
    return {28u, 293u, 1766u};
}

INSTANTIATE_TEST_SUITE_P(Seeds, FasterPathOfRandomOperations, ::testing::ValuesIn(FasterPathSeeds()),
                         [](const ::testing::TestParamInfo<unsigned>& info) {
                             return "seed" + std::to_string(info.param);
                         });
