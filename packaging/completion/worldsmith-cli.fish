# fish completion for worldsmith-cli: commands, options, folders after
# --game-dir, files for file arguments, the scale's range, and the
# catalogue's area numbers and names where a command takes an AREA. The areas
# come from `worldsmith-cli catalogue` on the game folder that the line names
# with --game-dir (before or after the command), else on the one the program
# finds itself ($WORLDSMITH_GAME_DIR, the registry).

# The words typed so far, read as the program reads them: prints the
# command (or nothing), the number of its arguments given, the game folder
# (or nothing), and whether the word being typed is an option's value (1 or
# 0), one a line.
function __worldsmith_cli_line
    set -l tokens (commandline -opc)
    set -l commands encode decode pack unpack demo-game catalogue objects preview build info render
    set -l command
    set -l count 0
    set -l game_dir
    set -l value 0
    set -l i 2
    while test $i -le (count $tokens)
        set -l word $tokens[$i]
        switch $word
            case --game-dir --name --seed -o --output --scale
                set i (math $i + 1)
                if test $i -gt (count $tokens)
                    set value 1
                else if test $word = --game-dir
                    set game_dir $tokens[$i]
                end
            case '--game-dir=*'
                set game_dir (string replace -- --game-dir= '' $word)
            case '-?*' # "-" alone is a file
            case '*'
                if test -z "$command"; and contains -- $word $commands
                    set command $word
                else if test -n "$command"
                    set count (math $count + 1)
                end
        end
        set i (math $i + 1)
    end
    set game_dir (string replace -r '^~/' "$HOME/" -- "$game_dir")
    printf '%s\n' "$command" $count "$game_dir" $value
end

# Whether no command is given yet.
function __worldsmith_cli_needs_command
    set -l line (__worldsmith_cli_line)
    test -z "$line[1]" -a "$line[4]" = 0
end

# Whether the next argument is of the given kind: file, folder or area.
function __worldsmith_cli_argument_is -a kind
    set -l line (__worldsmith_cli_line)
    test "$line[4]" = 0; or return 1
    set -l wanted
    switch "$line[1]:$line[2]"
        case 'encode:[01]' 'decode:[01]' 'pack:[01]' 'unpack:[01]' build:0 info:0 render:0
            set wanted file
        case demo-game:0
            set wanted folder
        case objects:0 preview:0
            set wanted area
    end
    test "$wanted" = "$kind"
end

# The catalogue's named areas: numbers described by their names, and names.
function __worldsmith_cli_areas
    set -l line (__worldsmith_cli_line)
    set -l run (commandline -opc)[1]
    if test -n "$line[3]"
        set -a run --game-dir $line[3]
    end
    $run catalogue 2>/dev/null | while read -l -d \t number name
        test -n "$name"; or continue
        printf '%s\t%s\n' $number $name
        printf '%s\t%s\n' $name "area $number"
    end
end

complete -c worldsmith-cli -f

# The program's options, before or after the command.
complete -c worldsmith-cli -l game-dir -x -a '(__fish_complete_directories (commandline -ct))' -d 'The game folder'
complete -c worldsmith-cli -l no-backup -d 'Replace a save file without keeping a backup of it'
complete -c worldsmith-cli -s h -l help -d 'Show the help'
complete -c worldsmith-cli -n __worldsmith_cli_needs_command -l help-all -d 'Show the help of every command'
complete -c worldsmith-cli -n __worldsmith_cli_needs_command -s v -l version -d 'Print the version and the commit'

# The commands.
complete -c worldsmith-cli -n __worldsmith_cli_needs_command -a encode -d 'Compress a file into a raw codec stream'
complete -c worldsmith-cli -n __worldsmith_cli_needs_command -a decode -d 'Decode a raw codec stream'
complete -c worldsmith-cli -n __worldsmith_cli_needs_command -a pack -d 'Write a save file holding a save body'
complete -c worldsmith-cli -n __worldsmith_cli_needs_command -a unpack -d 'Check a save file and write its body'
complete -c worldsmith-cli -n __worldsmith_cli_needs_command -a demo-game -d 'Write the synthetic demo game folder'
complete -c worldsmith-cli -n __worldsmith_cli_needs_command -a catalogue -d 'List the area catalogue'
complete -c worldsmith-cli -n __worldsmith_cli_needs_command -a objects -d "Show an area's size and objects"
complete -c worldsmith-cli -n __worldsmith_cli_needs_command -a preview -d "Draw an area's preview as PNG"
complete -c worldsmith-cli -n __worldsmith_cli_needs_command -a build -d 'Build a world file into a save file'
complete -c worldsmith-cli -n __worldsmith_cli_needs_command -a info -d 'Show what loading a save restores'
complete -c worldsmith-cli -n __worldsmith_cli_needs_command -a render -d "Draw a save's world map as PNG"

# The commands' options.
complete -c worldsmith-cli -n '__fish_seen_subcommand_from pack' -l name -x -d 'The world name'
complete -c worldsmith-cli -n '__fish_seen_subcommand_from demo-game' -l seed -x -d 'Seed of the terrain and objects'
complete -c worldsmith-cli -n '__fish_seen_subcommand_from demo-game' -l force -d 'Write into a folder that is not empty'
complete -c worldsmith-cli -n '__fish_seen_subcommand_from catalogue objects info' -l json -d 'Print JSON'
complete -c worldsmith-cli -n '__fish_seen_subcommand_from preview render build' -s o -l output -r -F -d 'The file to write'
complete -c worldsmith-cli -n '__fish_seen_subcommand_from preview render' -l scale -x -a '1 2 3 4 5 6 7 8' -d 'Enlarge N times'

# The commands' arguments.
complete -c worldsmith-cli -n '__worldsmith_cli_argument_is file' -F
complete -c worldsmith-cli -n '__worldsmith_cli_argument_is folder' -a '(__fish_complete_directories (commandline -ct))'
complete -c worldsmith-cli -n '__worldsmith_cli_argument_is area' -a '(__worldsmith_cli_areas)'
