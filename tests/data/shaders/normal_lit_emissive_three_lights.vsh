mov	oT0, v2
m4x4	r2, v0, c0
mov	oPos, r2
mov	oD1.rgb, c6
dp3	r6.x, v1.xyz, c7.xyz
dp3	r6.y, v1.xyz, c7.w
dp3	r6.z, v1.xyz, c9.yzw
max	r6.xyz, c4.x, r6.xyz
mul	r0.xyz, r6.xxx, c8
mad	r0.xyz, r6.yyy, c10, r0.xyz
mad	r0.xyz, r6.zzz, c11, r0.xyz
add	oD0.rgb,  r0.xyz, c5
mov	oD0.a, c4.y
