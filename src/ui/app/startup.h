#pragma once

namespace tavomi {

class Session;

// Copies the default report templates that are missing from the program folder's zcfrf/.
void installDefaultTemplates();
// Opens the session from the connection settings and creates or checks the schema.
// Throws Error with the driver's text when the database cannot be opened.
void openDatabase(Session &session);

// The program: single instance, session, main window, message loop.
int runApplication(int argc, char **argv);

} // namespace tavomi
