#pragma once
// Every scenario the driver knows; main() picks one by name.
#include "session.h"

#include <string_view>

struct Scenario {
    std::string_view name;
    void (*run)(Session&);
};

void start_arrangement(Session& session);

void group_to_file(Session& session);
void invalid_group(Session& session);
void refused_connection(Session& session);
void later_page_fails(Session& session);
void close_during_run(Session& session);
void save_over_longer_file(Session& session);
void save_over_held_file(Session& session);
void save_into_missing_folder(Session& session);
void save_short_write(Session& session);

void button_in_hand(Session& session);
void double_click_runs_once(Session& session);
void button_hints(Session& session);
void new_user_road(Session& session);

void timed_run(Session& session);
