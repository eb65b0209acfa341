// map_part_block
