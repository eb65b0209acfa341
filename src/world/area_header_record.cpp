// area_header_record
