// guard_record
