# Users and passwords, login, main window and screen lock.
tavomi_test(test_core_admin DB SOURCES core/admin/users_test.cpp)
tavomi_test(test_ui_shell DB SOURCES
  ui/app/login_test.cpp ui/app/main_window_test.cpp ui/app/lock_test.cpp
  ui/admin/useradd_test.cpp ui/admin/modify_password_test.cpp)
