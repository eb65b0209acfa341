// entry_record
