#include "runner.h"

#include "settings_file.h"

#include "hostsim/model/document_json.h"

#include "desktop/desktop.h"
#include "desktop/files/file_open.h"
#include "desktop/files/file_replace.h"
#include "desktop/transcript.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <utility>

namespace hostsim::session {

namespace {

constexpr const char* kDefaultSnapshot = "snapshot.json";
constexpr std::size_t kMaxRequestFileBytes = std::size_t{16} << 20;
// Requests from outside are shown in the transcript up to this many bytes.
constexpr std::size_t kShownRequestBytes = 300;

bool isCheck(Verb verb) noexcept {
    switch (verb) {
        case Verb::Answer:
        case Verb::Dialog:
        case Verb::Windows:
        case Verb::Popup:
        case Verb::ChooseApp:
        case Verb::ExpectDialog:
        case Verb::ExpectNoDialog:
        case Verb::ExpectAlert:
        case Verb::ExpectNoAlert:
        case Verb::ExpectClipboard:
        case Verb::ExpectNoClipboard:
        case Verb::ExpectMenu:
        case Verb::ExpectNoViolation:
        case Verb::ExpectViolation:
        case Verb::ExpectReply:
        case Verb::ExpectNoReply:
        case Verb::ExpectStarted:
        case Verb::ExpectRefused:
        case Verb::Echo:
        case Verb::Help: return true;
        default: return false;
    }
}

// Lines that work without a started module.
bool needsStart(Verb verb) noexcept {
    switch (verb) {
        case Verb::Load:
        case Verb::Compat:
        case Verb::Withhold:
        case Verb::Language:
        case Verb::PrefsSet:
        case Verb::PrefsRemove:
        case Verb::PrefsShow:
        case Verb::Answer:
        case Verb::Dialog:
        case Verb::Window:
        case Verb::Windows:
        case Verb::Popup:
        case Verb::ChooseApp:
        case Verb::ExpectDialog:
        case Verb::ExpectNoDialog:
        case Verb::ExpectAlert:
        case Verb::ExpectNoAlert:
        case Verb::ExpectClipboard:
        case Verb::ExpectNoClipboard:
        case Verb::ExpectNoViolation:
        case Verb::ExpectViolation:
        case Verb::ExpectReply:
        case Verb::ExpectNoReply:
        case Verb::Echo:
        case Verb::Help:
        case Verb::Quit:
        case Verb::Start: return false;
        default: return true;
    }
}

std::string inQuotes(std::string_view text) { return desktop::quoteForTranscript(text); }

std::string absolutePath(const std::string& path) {
    std::error_code error;
    const std::filesystem::path full = std::filesystem::absolute(desktop::files::pathOf(path), error);
    if (error) return path;
    std::string text = desktop::files::nameOf(full.lexically_normal());
    if (text.empty()) return path;
    while (text.size() > 1 && text.back() == '/') text.pop_back();
    return text;
}

bool readFile(const std::string& path, std::string& text, std::string& error) {
    std::FILE* file = desktop::files::openToRead(path);
    if (file == nullptr) {
        error = "cannot read " + path;
        return false;
    }
    char buffer[65536];
    std::size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
        if (text.size() + got > kMaxRequestFileBytes) {
            std::fclose(file);
            error = path + " is larger than " + std::to_string(kMaxRequestFileBytes) + " bytes";
            return false;
        }
        text.append(buffer, got);
    }
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (failed) error = "cannot read " + path;
    return !failed;
}

bool writeFile(const std::string& path, const std::string& text, std::string& error) {
    std::string reason;
    if (desktop::files::replaceFile(path, text, reason)) return true;
    error = "cannot write " + path + ": " + reason;
    return false;
}

// "View>Show Image Names" or "Show Image Names": the first item that matches.
const MenuItemState* findItem(const std::vector<MenuState>& menus, const std::string& title, std::string* menuTitle) {
    std::string menuPart, itemPart = title;
    if (const std::size_t arrow = title.find('>'); arrow != std::string::npos) {
        menuPart = title.substr(0, arrow);
        itemPart = title.substr(arrow + 1);
    }
    for (const MenuState& menu : menus) {
        if (!menuPart.empty() && menu.title != menuPart) continue;
        for (const MenuItemState& item : menu.items) {
            if (item.title == itemPart) {
                if (menuTitle != nullptr) *menuTitle = menu.title;
                return &item;
            }
        }
    }
    return nullptr;
}

std::string alertText(const desktop::AlertRequest& alert) {
    std::string text = inQuotes(alert.message);
    if (!alert.informative.empty()) text += " / " + inQuotes(alert.informative);
    return text;
}

}  // namespace

SessionRunner::SessionRunner(Simulator& simulator, std::shared_ptr<SessionAgent> agent, RunnerOptions options)
    : sim_(simulator), agent_(std::move(agent)), options_(std::move(options)) {
    desktop::Desktop::instance().setAgent(agent_);
    alertMark_ = agent_->alertsShown().size();
    dialogMark_ = desktop::Desktop::instance().transcript().size();
}

void SessionRunner::note(const std::string& line) { sim_.transcript().appendSimulatorLine(line); }

void SessionRunner::poll(int timeoutMs) {
    if (options_.pollRequests && !serving_) options_.pollRequests(timeoutMs);
}

bool SessionRunner::fail(std::string message) {
    failure_ = currentLine_ > 0 ? "line " + std::to_string(currentLine_) + ": " + message : message;
    failureLog_.push_back(failure_);
    note("failed: " + failure_);
    return false;
}

bool SessionRunner::ensureLoaded() {
    if (!sim_.modulePath().empty()) return true;
    if (loadTried_) return fail("no module loaded");
    loadTried_ = true;
    if (options_.defaultModule.empty()) return fail("no module given (use load PATH or --module)");
    if (!sim_.loadModule(options_.defaultModule)) return fail("cannot load the module: " + sim_.loadError());
    return true;
}

bool SessionRunner::ensureStarted() {
    if (startTried_) return true;
    if (!ensureLoaded()) return false;
    startTried_ = true;
    sim_.activate();
    return true;
}

bool SessionRunner::run(const Action& action) {
    currentLine_ = action.line;
    failure_.clear();
    poll(0);
    if (action.verb != Verb::Echo && action.verb != Verb::Help) note("> " + action.source);
    if (!isCheck(action.verb)) {
        alertMark_ = agent_->alertsShown().size();
        dialogMark_ = desktop::Desktop::instance().transcript().size();
    }
    if (quitRequested_ && action.verb != Verb::Echo) return fail("the host has quit");
    if (needsStart(action.verb) && !ensureStarted()) return false;
    const std::size_t faultMark = agent_->dialogFaults().size();
    const bool ok = execute(action);
    // Dialog lines that could not be carried out fail the line whose action
    // asked for them (the dialog was closed by its close box).
    const auto& faults = agent_->dialogFaults();
    if (faults.size() > faultMark) {
        std::string message = faults[faultMark];
        if (faults.size() > faultMark + 1) message += " (and " + std::to_string(faults.size() - faultMark - 1) + " more)";
        return fail(message);
    }
    return ok;
}

bool SessionRunner::execute(const Action& action) {
    desktop::Desktop& desk = desktop::Desktop::instance();
    switch (action.verb) {
        case Verb::Load:
            if (!sim_.modulePath().empty() || loadTried_) return fail("a module is loaded already");
            loadTried_ = true;
            if (!sim_.loadModule(action.text.empty() ? options_.defaultModule : action.text)) {
                return fail("cannot load the module: " + sim_.loadError());
            }
            return true;
        case Verb::Compat:
            if (startTried_) return fail("compat must come before the module starts");
            sim_.options().compatibilityAnswer = static_cast<std::uint32_t>(action.number);
            return true;
        case Verb::Withhold:
            if (startTried_) return fail("withhold must come before the module starts");
            sim_.withhold(action.text);
            return true;
        case Verb::Start:
            if (startTried_) return fail("the module was started already");
            return ensureStarted();
        case Verb::Open: {
            const OpenResult result = sim_.open(action.text);
            return result.ok() || fail("cannot open " + action.text + ": " + result.message);
        }
        case Verb::New: return doNew(action);
        case Verb::Save: {
            const std::optional<std::string> path =
                action.text.empty() ? std::nullopt : std::optional<std::string>(action.text);
            return sim_.save(path) || fail("save failed: " + sim_.lastError());
        }
        case Verb::Close:
            if (sim_.current() == nullptr) return fail("no document to close");
            // Cancelling the question is the user's choice, not a failure.
            if (!sim_.close()) note("the document stays open");
            return true;
        case Verb::Current:
            return sim_.setCurrent(static_cast<XTDocID>(action.number)) ||
                   fail("no document " + std::to_string(action.number) + " is open");
        case Verb::Snapshot: return doSnapshot(action);
        case Verb::Print: {
            PrintRun run;
            run.path = action.text;
            run.output = action.device ? PrintOutput::Device : PrintOutput::PostScript;
            const PrintResult printed = sim_.print(run);
            return printed.ok || fail("print failed: " + printed.error);
        }
        case Verb::Menu:
            if (action.byNumber) {
                return sim_.chooseCommand(static_cast<XTCommandID>(action.number), action.modifiers) ||
                       fail("menu item with command " + std::to_string(action.number) + " is disabled or unknown");
            }
            return sim_.chooseMenu(action.text, action.modifiers) ||
                   fail("menu item " + inQuotes(action.text) + " is disabled or unknown");
        case Verb::Menus: return doMenus();
        case Verb::Command: sim_.hostCommand(static_cast<std::int16_t>(action.number)); return true;
        case Verb::SelectBox:
            return sim_.selectBox(static_cast<XTBoxID>(action.number)) ||
                   fail("cannot select box " + std::to_string(action.number) + " (no such box or no document)");
        case Verb::SelectNone: sim_.selectBox(0); return true;
        case Verb::Page:
            return sim_.gotoPage(static_cast<int>(action.number)) ||
                   fail("cannot go to page " + std::to_string(action.number));
        case Verb::Zoom: {
            if (sim_.current() == nullptr) return fail("no document open to zoom");
            const auto scale = static_cast<Fixed>(std::lround(action.real / 100.0 * 65536.0));
            char percent[32];
            std::snprintf(percent, sizeof percent, "%g%%", action.real);
            return sim_.setViewScale(scale) || fail(std::string("the host refused the view scale ") + percent);
        }
        case Verb::Scroll:
            if (sim_.current() == nullptr) return fail("no document open to scroll");
            return sim_.scroll(action.point.x, action.point.y) || fail("the host refused to scroll the view");
        case Verb::Tool: sim_.setTool(static_cast<std::int16_t>(action.number)); return true;
        case Verb::Redraw: sim_.redraw(); return true;
        case Verb::Render: {
            std::string error;
            return sim_.renderView(action.text, &error) || fail("cannot write the view: " + error);
        }
        case Verb::Key: sim_.key(action.character, action.modifiers); return true;
        case Verb::Click:
        case Verb::DoubleClick: return doPointer(action);
        case Verb::Idle:
            for (std::int64_t i = 0; i < action.number; ++i) {
                if (i > 0) poll(0);
                sim_.idle(1);
            }
            return true;
        case Verb::Wait: sim_.advanceTicks(static_cast<std::uint32_t>(action.number)); return true;
        case Verb::Serve: return doServe(action);
        case Verb::Drop: return doDrop(action);
        case Verb::Language:
            if (!startTried_) {
                sim_.options().regionCode = static_cast<std::int16_t>(action.number);
                note("region code " + std::to_string(action.number) + " at start");
                return true;
            }
            sim_.setLanguage(static_cast<std::int16_t>(action.number));
            return true;
        case Verb::SwitchIn: sim_.switchIn(); return true;
        case Verb::PrefsSet:
        case Verb::PrefsRemove:
        case Verb::PrefsShow: return doPrefs(action);
        case Verb::Preferences: return doPreferences(action);
        case Verb::Script: return doScript(action.text, false);
        case Verb::ScriptFile: {
            std::string request, error;
            if (!readFile(action.text, request, error)) return fail(error);
            return doScript(request, false);
        }
        case Verb::Answer:
            if (!action.text.empty()) {
                agent_->answerWithButton(action.text);
            } else {
                agent_->answerWithItem(static_cast<int>(action.number));
            }
            return true;
        case Verb::Dialog: {
            DialogLine line = action.dialog;
            line.line = action.line;
            line.source = action.source;
            agent_->queueDialogLine(std::move(line));
            return true;
        }
        case Verb::Popup:
            if (!action.text.empty()) {
                agent_->choosePopupItem(action.text);
            } else if (action.number > 0) {
                agent_->choosePopupIndex(static_cast<int>(action.number - 1));
            } else {
                agent_->dismissPopup();
            }
            return true;
        case Verb::ChooseApp:
            if (action.text.empty()) {
                agent_->cancelApplicationChooser();
            } else {
                agent_->chooseApplicationAt(absolutePath(action.text));
            }
            return true;
        case Verb::ExpectDialog:
        case Verb::ExpectNoDialog: return doExpectDialog(action);
        case Verb::Window: return doWindow(action);
        case Verb::Windows: return doWindows();
        case Verb::ExpectAlert:
        case Verb::ExpectNoAlert: return doExpectAlert(action);
        case Verb::ExpectClipboard: {
            const std::optional<std::string> text = desk.clipboardText();
            if (text && *text == action.text) return true;
            return fail("expected the clipboard to hold " + inQuotes(action.text) + ", it holds " +
                        (text ? inQuotes(*text) : std::string("no text")));
        }
        case Verb::ExpectNoClipboard: {
            const std::optional<std::string> text = desk.clipboardText();
            return !text || fail("expected no text on the clipboard, it holds " + inQuotes(*text));
        }
        case Verb::ExpectMenu: return doExpectMenu(action);
        case Verb::ExpectNoViolation: {
            const auto& violations = sim_.violations();
            if (violations.empty()) return true;
            return fail("expected no violation, there were " + std::to_string(violations.size()) + ", the first: " +
                        violations.front().message);
        }
        case Verb::ExpectViolation:
            for (const Violation& violation : sim_.violations()) {
                if (violation.message.find(action.text) != std::string::npos) return true;
            }
            return fail("expected a violation containing " + inQuotes(action.text) + ", there were " +
                        std::to_string(sim_.violations().size()) + " others");
        case Verb::ExpectReply:
            if (lastReply_ && lastReply_->find(action.text) != std::string::npos) return true;
            return fail("expected the last reply to contain " + inQuotes(action.text) + ", it was " +
                        (lastReply_ ? inQuotes(*lastReply_) : std::string("none")));
        case Verb::ExpectNoReply:
            return !lastReply_ || fail("expected no reply, it was " + inQuotes(*lastReply_));
        case Verb::ExpectStarted:
            if (!ensureStarted()) return false;
            return sim_.started() || fail("expected the module to have started, it did not");
        case Verb::ExpectRefused:
            if (!ensureStarted()) return false;
            return !sim_.started() || fail("expected the module to be refused, it started");
        case Verb::Echo: note(action.text); return true;
        case Verb::Help:
            if (options_.console != nullptr) std::fputs(commandSummary(), options_.console);
            return true;
        case Verb::Quit:
            if (options_.askBeforeQuit && !closeChangedDocuments()) {
                note("quit cancelled: a changed document stays open");
                return true;  // the user's choice, not a failure
            }
            quitRequested_ = true;
            if (!sim_.modulePath().empty()) sim_.quit();
            return true;
    }
    return fail("unknown command");
}

bool SessionRunner::doNew(const Action& action) {
    Document doc;
    doc.projectName = action.text;
    for (std::int64_t page = 1; page <= action.number; ++page) {
        Spread spread;
        spread.width = doc.pageWidth;
        spread.height = doc.pageHeight;
        spread.pages.push_back(Page{std::to_string(page), 0, 0.0, 0.0});
        if (doc.addSpread(std::move(spread)) == 0) return fail("cannot make page " + std::to_string(page));
    }
    doc.setCurrentPage(1);
    doc.markSaved();
    const OpenResult result = sim_.newDocument(std::move(doc), action.text);
    return result.ok() || fail("cannot make a new document: " + result.message);
}

bool SessionRunner::doSnapshot(const Action& action) {
    const Document* doc = sim_.current();
    if (doc == nullptr) return fail("no document open to snapshot");
    std::string json, error;
    if (!documentToJson(*doc, json, &error)) return fail("cannot write the document as JSON: " + error);
    const std::string path = action.text.empty() ? std::string(kDefaultSnapshot) : action.text;
    std::error_code ignored;
    if (action.text.empty() && std::filesystem::exists(std::filesystem::symlink_status(desktop::files::pathOf(path), ignored))) {
        // Only a path the user named is written over.
        return fail(path + " exists already; name the file: snapshot PATH");
    }
    if (!writeFile(path, json, error)) return fail(error);
    note("snapshot written to " + inQuotes(path));
    return true;
}

bool SessionRunner::doMenus() {
    const std::vector<MenuState> menus = sim_.menuState();
    note("menus:");
    for (const MenuState& menu : menus) {
        for (const MenuItemState& item : menu.items) {
            std::string line = "  " + menu.title + " > " + inQuotes(item.title);
            line += item.enabled ? " enabled" : " disabled";
            if (item.checked) line += " checked";
            if (item.fromModule) line += " [module]";
            note(line);
        }
    }
    return true;
}

bool SessionRunner::doPointer(const Action& action) {
    const bool twice = action.verb == Verb::DoubleClick;
    const std::uint32_t gap = action.number >= 0 ? static_cast<std::uint32_t>(action.number) : kDoubleClickGap;
    if (action.point.screen) {
        const ScreenPoint point{static_cast<int>(std::lround(action.point.y)),
                                static_cast<int>(std::lround(action.point.x))};
        if (twice) {
            sim_.doubleClick(point, gap, action.modifiers);
        } else {
            sim_.click(point, action.modifiers);
        }
        return true;
    }
    const Document* doc = sim_.current();
    if (doc == nullptr) return fail("a spread point needs an open document (use px X,Y for screen pixels)");
    const SpreadPoint point{action.point.spread != 0 ? action.point.spread : doc->currentSpread(), action.point.y,
                            action.point.x};
    if (twice) {
        sim_.doubleClick(point, gap, action.modifiers);
    } else {
        sim_.click(point, action.modifiers);
    }
    return true;
}

bool SessionRunner::doDrop(const Action& action) {
    const Document* doc = sim_.current();
    if (doc == nullptr) return fail("nothing to drop on: no document open");
    std::vector<desktop::PasteboardItem> items;
    for (const DropItemArg& arg : action.dropItems) {
        switch (arg.kind) {
            case DropItemArg::Kind::File:
                items.push_back(desktop::PasteboardItem::file(absolutePath(arg.value)));
                break;
            case DropItemArg::Kind::Text: items.push_back(desktop::PasteboardItem::text(arg.value)); break;
            case DropItemArg::Kind::Url: items.push_back(desktop::PasteboardItem::fileUrl(arg.value)); break;
        }
    }
    if (action.point.screen) {
        const ScreenPoint point{static_cast<int>(std::lround(action.point.y)),
                                static_cast<int>(std::lround(action.point.x))};
        sim_.drop(std::move(items), point, static_cast<std::int32_t>(action.number), action.modifiers);
        return true;
    }
    const SpreadPoint point{action.point.spread != 0 ? action.point.spread : doc->currentSpread(), action.point.y,
                            action.point.x};
    sim_.drop(std::move(items), point, static_cast<std::int32_t>(action.number), action.modifiers);
    return true;
}

bool SessionRunner::doPrefs(const Action& action) {
    if (!ensureLoaded()) return false;
    const std::string path = settingsPathOfModule(sim_.modulePath());
    if (action.verb == Verb::PrefsShow) {
        std::string text, error;
        std::FILE* probe = desktop::files::openToRead(path);
        if (probe == nullptr) {
            note("prefs " + inQuotes(path) + ": no file");
            return true;
        }
        std::fclose(probe);
        if (!readFile(path, text, error)) return fail(error);
        note("prefs " + inQuotes(path) + " (" + std::to_string(text.size()) + " bytes, line ends " +
             desktop::escapeForTranscript(detectLineEnd(text, "")) + "):");
        std::size_t pos = 0;
        while (pos < text.size()) {
            std::size_t end = text.find_first_of("\r\n", pos);
            if (end == std::string::npos) end = text.size();
            note("  | " + text.substr(pos, end - pos));
            pos = end + 1;
            if (end + 1 < text.size() && text[end] == '\r' && text[end + 1] == '\n') ++pos;
        }
        return true;
    }
    const FileEditResult result = action.verb == Verb::PrefsSet
                                      ? setEntryInFile(path, action.text, action.text2, action.text3)
                                      : removeEntryInFile(path, action.text, action.text2);
    if (!result.ok) return fail("cannot edit the settings file: " + result.error);
    if (action.verb == Verb::PrefsSet) {
        note("prefs file " + inQuotes(path) + (result.created ? " (new)" : "") + ": [" + action.text + "] " +
             action.text2 + "=" + action.text3);
    } else {
        note("prefs file " + inQuotes(path) + ": [" + action.text + "] " + action.text2 + " removed");
    }
    return true;
}

bool SessionRunner::doPreferences(const Action& action) {
    PreferencesRun run;
    run.toggleItems = action.toggles;
    run.ok = action.paneEnd == Action::PaneEnd::Ok;
    run.hostOk = action.paneEnd == Action::PaneEnd::HostOk;
    run.byUser = action.paneByAgent;
    const PreferencesResult result = sim_.openPreferences(run);
    if (!result.shown) {
        note("preferences: the module showed no pane");
        return true;
    }
    std::string line = "preferences pane " + std::to_string(result.resourceID) + ":";
    for (const auto& [item, value] : result.controls) line += " " + std::to_string(item) + "=" + std::to_string(value);
    note(line);
    return true;
}

bool SessionRunner::doScript(const std::string& request, bool fromOutside) {
    const std::optional<std::string> reply = sim_.scriptRequest(request);
    note(reply ? "reply " + inQuotes(*reply) : std::string("reply: none"));
    if (!fromOutside) lastReply_ = reply;
    return true;
}

bool SessionRunner::doExpectAlert(const Action& action) {
    const auto& alerts = agent_->alertsShown();
    const std::size_t first = std::min(alertMark_, alerts.size());
    if (action.verb == Verb::ExpectNoAlert) {
        if (first == alerts.size()) return true;
        return fail("expected no alert, the last action showed " + alertText(alerts[first]));
    }
    std::string seen;
    for (std::size_t i = first; i < alerts.size(); ++i) {
        const desktop::AlertRequest& alert = alerts[i];
        if (alert.message == action.text && (!action.hasText2 || alert.informative == action.text2)) return true;
        seen += (seen.empty() ? "" : ", ") + alertText(alert);
    }
    std::string wanted = inQuotes(action.text);
    if (action.hasText2) wanted += " / " + inQuotes(action.text2);
    return fail("expected the alert " + wanted + ", the last action showed " +
                (seen.empty() ? std::string("no alert") : seen));
}

bool SessionRunner::doExpectDialog(const Action& action) {
    desktop::Desktop& desk = desktop::Desktop::instance();
    const auto& entries = desk.transcript().entries();
    // What the desktop wrote of the dialogs during the last action.
    std::vector<std::string> opened;
    std::vector<std::pair<std::string, std::string>> closed;  // title as quoted, result
    for (std::size_t i = std::min(dialogMark_, entries.size()); i < entries.size(); ++i) {
        if (entries[i].kind != desktop::EntryKind::Dialog) continue;
        const std::string& line = entries[i].line;
        for (const char* marker : {" closed before it was shown -> ", " closed -> "}) {
            if (const std::size_t at = line.rfind(marker); at != std::string::npos && line.rfind("dialog ", 0) == 0) {
                closed.emplace_back(line.substr(7, at - 7), line.substr(at + std::string_view(marker).size()));
                break;
            }
        }
        constexpr std::string_view kOpened = " opened";
        if (line.rfind("dialog ", 0) == 0 && line.size() > 7 + kOpened.size() &&
            line.compare(line.size() - kOpened.size(), kOpened.size(), kOpened) == 0) {
            opened.push_back(line.substr(7, line.size() - 7 - kOpened.size()));
        }
    }
    if (action.verb == Verb::ExpectNoDialog) {
        if (opened.empty()) return true;
        return fail("expected no dialog, the last action showed the dialog " + opened.front());
    }
    const std::string title = inQuotes(action.text);
    switch (action.dialogState) {
        case Action::DialogState::Open:
            if (desk.windowTitled(action.text) != nullptr) return true;
            return fail("expected the dialog " + title + " to be open, it is not");
        case Action::DialogState::Closed:
            for (const auto& [name, result] : closed) {
                if (name != title) continue;
                if (!action.hasResult || result == std::to_string(action.number)) return true;
                return fail("expected the dialog " + title + " to close with " + std::to_string(action.number) +
                            ", it closed with " + result);
            }
            return fail("expected the last action to close the dialog " + title + ", it did not");
        case Action::DialogState::Shown:
            break;
    }
    if (std::find(opened.begin(), opened.end(), title) != opened.end()) return true;
    std::string seen;
    for (const std::string& name : opened) seen += (seen.empty() ? "" : ", ") + name;
    return fail("expected the dialog " + title + ", the last action showed " +
                (seen.empty() ? std::string("no dialog") : seen));
}

bool SessionRunner::doExpectMenu(const Action& action) {
    const std::vector<MenuState> menus = sim_.menuState();
    std::string menuTitle;
    const MenuItemState* item = findItem(menus, action.text, &menuTitle);
    if (item == nullptr) return fail("no menu item " + inQuotes(action.text));
    std::string problems;
    if (action.menuCheck.enabled && *action.menuCheck.enabled != item->enabled) {
        problems += item->enabled ? "enabled" : "disabled";
    }
    if (action.menuCheck.checked && *action.menuCheck.checked != item->checked) {
        problems += std::string(problems.empty() ? "" : " and ") + (item->checked ? "checked" : "unchecked");
    }
    if (problems.empty()) return true;
    return fail("menu item " + menuTitle + " > " + inQuotes(item->title) + " is " + problems);
}

bool SessionRunner::doServe(const Action& action) {
    using Clock = std::chrono::steady_clock;
    if (!options_.pollRequests) {
        note("serve: not listening for scripting requests");
        return true;
    }
    const Clock::time_point deadline = Clock::now() + std::chrono::seconds(action.number);
    note("serving scripting requests for " + std::to_string(action.number) + " s");
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0) break;
        poll(static_cast<int>(left));
    }
    return true;
}

std::string SessionRunner::externalRequest(const std::string& request) {
    if (serving_) return {};
    serving_ = true;
    std::string shown = request.substr(0, kShownRequestBytes);
    if (request.size() > kShownRequestBytes) shown += "...";
    note("> (from another process) script " + inQuotes(shown));
    std::optional<std::string> reply;
    if (!quitRequested_ && ensureStarted()) {
        reply = sim_.scriptRequest(request);
        note(reply ? "reply " + inQuotes(*reply) : std::string("reply: none"));
    }
    serving_ = false;
    return reply.value_or(std::string());
}

bool SessionRunner::closeChangedDocuments() {
    for (const XTDocID id : sim_.documentIDs()) {
        const Document* doc = sim_.document(id);
        if (doc == nullptr || doc->changeState != kChangeStateChanged) continue;
        // The host brings each changed window to the front and asks there.
        if (!sim_.setCurrent(id) || !sim_.close()) {
            const std::string why = sim_.lastError();
            if (!why.empty()) note("document " + std::to_string(id) + " stays open: " + why);
            return false;
        }
    }
    return true;
}

void SessionRunner::finish() {
    if (quitRequested_) return;
    if (options_.askBeforeQuit && !closeChangedDocuments()) {
        note("end of input: the changes of the documents still open are lost");
    }
    quitRequested_ = true;
    if (sim_.modulePath().empty() || sim_.quitted()) return;
    note("end of session: quit");
    sim_.quit();
}

ScriptRun runScript(const Script& script, SessionRunner& runner, bool keepGoing) {
    ScriptRun result;
    for (const Action& action : script.actions) {
        if (runner.quitted()) break;
        ++result.linesRun;
        if (!runner.run(action)) {
            result.exitCode = 1;
            if (!keepGoing) break;
        }
    }
    runner.finish();
    return result;
}

ScriptRun runScriptText(std::string_view text, SessionRunner& runner, bool keepGoing) {
    ScriptRun result;
    forEachScriptLine(text, [&](std::string_view line, int lineNumber) {
        if (runner.quitted()) return false;
        ParseError error;
        const std::optional<Action> action = parseLine(line, lineNumber, error);
        if (!action) return true;  // a blank or comment line (the text was checked)
        ++result.linesRun;
        if (!runner.run(*action)) {
            result.exitCode = 1;
            if (!keepGoing) return false;
        }
        return true;
    });
    runner.finish();
    return result;
}

}  // namespace hostsim::session
