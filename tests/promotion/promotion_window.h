#pragma once

#include "answering_browser.h"
#include "form1.h"
#include "message_boxes.h"
#include "promotion_panel.h"
#include "recording_launcher.h"

// The real main window with the real promotion panel on its controls, loaded and shown as the
// program does it.
struct PromotionWindow {
    PromotionWindow();

    // For step-by-step tests: the handlers are then called by the test alone.
    void stopTimers();

    RecordingLauncher launcher;
    AnsweringBrowser browser;
    QtMessageBoxes messages;
    Form1 form;
    PromotionControls c;
    PromotionPanel panel;
};
