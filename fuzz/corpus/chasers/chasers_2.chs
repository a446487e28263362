Values:6
NumberOfChasers:4
Next chaser 
Chaser_time 1550
chaser_direction 1
chaser_pattern_len 1
chaser_repeat_number 2
chaser_xfade 50
114
111
52
117
116
59
Next chaser #
Chaser_time 2550
chaser_direction 2
chaser_pattern_len 2
chaser_repeat_number 3
chaser_xfade 51
151
122
57
154
127
64
Next chaser ##
Chaser_time 3550
chaser_direction 1
chaser_pattern_len 3
chaser_repeat_number 4
chaser_xfade 52
188
133
62
191
138
69
Next chaser ###
Chaser_time 4550
chaser_direction 2
chaser_pattern_len 4
chaser_repeat_number 5
chaser_xfade 53
225
144
67
228
149
74
