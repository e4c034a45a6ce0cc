#pragma once
// The main window's print and printer-setup commands: the start-up puts
// these into the window's seams, so the window runs the print dialog
// without linking the reports.

struct TMoxMainSeams;

class TPrintCommands {
public:
    static void Install(TMoxMainSeams& seams);
};
